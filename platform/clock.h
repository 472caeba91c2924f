// Every tick count, sleep and local-time read of the program goes through one Clock.
#pragma once

#include <atomic>
#include <cstdint>

namespace platform {

struct LocalTime {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start; wraps as the platform's 32-bit tick count does.
  virtual std::uint32_t tickCount() = 0;
  virtual void sleep(std::uint32_t milliseconds) = 0;
  virtual LocalTime localTime() = 0;
  // A moment given in seconds since 1970-01-01 00:00 UTC, as local time.
  virtual LocalTime toLocalTime(std::int64_t unixSeconds) = 0;
};

// The machine's own clock.
class RealClock : public Clock {
 public:
  std::uint32_t tickCount() override;
  void sleep(std::uint32_t milliseconds) override;
  LocalTime localTime() override;
  LocalTime toLocalTime(std::int64_t unixSeconds) override;
};

// A clock for tests: time stands still until sleep() or advance() moves it, at once. Local time is
// UTC counted from `startUnixSeconds`. Safe to share between threads.
class VirtualClock : public Clock {
 public:
  explicit VirtualClock(std::int64_t startUnixSeconds = 1'165'881'600);  // 2006-12-12 00:00 UTC
  std::uint32_t tickCount() override;
  void sleep(std::uint32_t milliseconds) override;
  LocalTime localTime() override;
  LocalTime toLocalTime(std::int64_t unixSeconds) override;
  void advance(std::uint32_t milliseconds);

 private:
  std::int64_t startUnixSeconds_;
  std::atomic<std::uint64_t> elapsedMs_{0};
};

}  // namespace platform
