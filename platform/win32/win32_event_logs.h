// The event logs of the local computer through the classic event-log calls.
#pragma once

#include <map>
#include <utility>

#include "platform/event_logs.h"

namespace platform::win32 {

class Win32EventLog : public EventLog {
 public:
  Win32EventLog(void* handle, std::string logName);
  ~Win32EventLog() override;
  Win32EventLog(const Win32EventLog&) = delete;
  Win32EventLog& operator=(const Win32EventLog&) = delete;

  std::uint32_t count() override;
  std::uint32_t oldestRecordNumber() override;
  std::optional<EventRecord> record(std::uint32_t index) override;
  std::optional<std::string> description(std::uint32_t index) override;
  bool clear(std::uint32_t& error) override;

 private:
  // The raw record at `index`, or nothing.
  bool read(std::uint32_t index);
  const std::string& cachedCategoryName(const std::string& source, std::uint16_t category);

  void* handle_;
  std::string logName_;
  std::vector<std::uint64_t> buffer_;
  std::map<std::pair<std::string, std::uint16_t>, std::string> categoryNames_;
};

class Win32EventLogs : public EventLogs {
 public:
  std::unique_ptr<EventLog> open(const std::string& logName, std::uint32_t& error) override;
};

}  // namespace platform::win32
