// Our stand-in for the event-log component of the NT component pack: one log of the local
// computer, opened by name, read record by record from the oldest.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/event_logs.h"
#include "platform/system_info.h"

namespace corvane {

// What the component raises when a log cannot be opened, read or cleared.
class EventLogError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The component's record class.
struct EventItem {
  std::uint16_t eventType = 0;
  std::int64_t timeGenerated = 0;  // seconds since 1970-01-01 00:00 UTC
  std::string sourceName;
  std::uint16_t category = 0;
  std::string categoryName;  // "None" for category 0
  std::uint32_t index = 0;   // from the oldest record of the log
  std::uint32_t recordNumber = 0;
  std::uint32_t eventId = 0;
  std::string userName;  // empty when the record has none
  std::string computerName;
};

class NtEventLog {
 public:
  NtEventLog(platform::EventLogs& logs, platform::SystemMessages& messages);

  const std::string& SourceName() const { return sourceName_; }
  void SetSourceName(const std::string& name) { sourceName_ = name; }

  bool Active() const { return log_ != nullptr; }
  // False closes the log and drops everything read; true opens the log named by SourceName and
  // raises EventLogError with the system's text when it cannot.
  void SetActive(bool active);

  // Records now in the log; 0 while inactive. The count read last (here or at opening) bounds
  // Objects and Items.
  std::uint32_t Count();
  // The record `index` places after the oldest. Raises when `index` is not below the last count
  // read or the record is gone.
  EventItem Objects(std::uint32_t index);
  // The record's full description. Raises as Objects does.
  std::string Items(std::uint32_t index);
  // Empties the log without a backup; raises with the system's text when it cannot.
  void Clear();

 private:
  void checkIndex(std::uint32_t index) const;
  [[noreturn]] void missing(std::uint32_t index) const;
  std::string systemText(std::uint32_t error) const;

  platform::EventLogs& logs_;
  platform::SystemMessages& messages_;
  std::string sourceName_;
  std::unique_ptr<platform::EventLog> log_;
  std::uint32_t lastCount_ = 0;
};

}  // namespace corvane
