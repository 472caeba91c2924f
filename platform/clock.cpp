#include "platform/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace platform {

namespace {

// Civil date from days since 1970-01-01 (proleptic Gregorian calendar).
LocalTime civilTime(std::int64_t unixSeconds, int millisecond) {
  std::int64_t days = unixSeconds / 86400;
  std::int64_t secondsOfDay = unixSeconds % 86400;
  if (secondsOfDay < 0) {
    secondsOfDay += 86400;
    --days;
  }
  const std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t dayOfEra = z - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  LocalTime time;
  time.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  time.month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  time.year = static_cast<int>(yearOfEra + era * 400 + (time.month <= 2 ? 1 : 0));
  time.hour = static_cast<int>(secondsOfDay / 3600);
  time.minute = static_cast<int>(secondsOfDay / 60 % 60);
  time.second = static_cast<int>(secondsOfDay % 60);
  time.millisecond = millisecond;
  return time;
}

LocalTime systemLocalTime(std::time_t seconds, int millisecond) {
  std::tm parts{};
#ifdef _WIN32
  localtime_s(&parts, &seconds);
#else
  localtime_r(&seconds, &parts);
#endif
  LocalTime time;
  time.year = parts.tm_year + 1900;
  time.month = parts.tm_mon + 1;
  time.day = parts.tm_mday;
  time.hour = parts.tm_hour;
  time.minute = parts.tm_min;
  time.second = parts.tm_sec;
  time.millisecond = millisecond;
  return time;
}

}  // namespace

std::uint32_t RealClock::tickCount() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void RealClock::sleep(std::uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

LocalTime RealClock::localTime() {
  const auto now = std::chrono::system_clock::now();
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return systemLocalTime(std::chrono::system_clock::to_time_t(now), static_cast<int>(ms));
}

LocalTime RealClock::toLocalTime(std::int64_t unixSeconds) {
  return systemLocalTime(static_cast<std::time_t>(unixSeconds), 0);
}

VirtualClock::VirtualClock(std::int64_t startUnixSeconds) : startUnixSeconds_(startUnixSeconds) {}

std::uint32_t VirtualClock::tickCount() { return static_cast<std::uint32_t>(elapsedMs_.load()); }

void VirtualClock::sleep(std::uint32_t milliseconds) { advance(milliseconds); }

void VirtualClock::advance(std::uint32_t milliseconds) { elapsedMs_ += milliseconds; }

LocalTime VirtualClock::localTime() {
  const std::uint64_t elapsed = elapsedMs_.load();
  return civilTime(startUnixSeconds_ + static_cast<std::int64_t>(elapsed / 1000),
                   static_cast<int>(elapsed % 1000));
}

LocalTime VirtualClock::toLocalTime(std::int64_t unixSeconds) { return civilTime(unixSeconds, 0); }

}  // namespace platform
