// The event logs of the local computer.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct EventRecord {
  std::uint32_t recordNumber = 0;
  std::int64_t timeGenerated = 0;  // seconds since 1970-01-01 00:00 UTC
  std::uint32_t eventId = 0;       // full identifier; the views show its low 16 bits
  std::uint16_t eventType = 0;     // 0 success, 1 error, 2 warning, 4 information, 8/16 audits
  std::uint16_t category = 0;
  std::string categoryName;        // "None" for category 0
  std::string sourceName;
  std::string computerName;
  std::string userName;            // "DOMAIN\\user"; empty when the record has none
  std::vector<std::string> strings;
};

// One open log. Indices count from the oldest record: record number = oldest + index.
class EventLog {
 public:
  virtual ~EventLog() = default;
  virtual std::uint32_t count() = 0;
  virtual std::uint32_t oldestRecordNumber() = 0;
  // Nothing when `index` is not below count().
  virtual std::optional<EventRecord> record(std::uint32_t index) = 0;
  // The full description: the source's message with the insertion strings, or, when the source
  // has no message for the identifier, a text naming the identifier and the source followed by
  // the insertion strings, each after a line break.
  virtual std::optional<std::string> description(std::uint32_t index) = 0;
  // Empties the log without a backup; false with the platform's error number.
  virtual bool clear(std::uint32_t& error) = 0;
};

class EventLogs {
 public:
  virtual ~EventLogs() = default;
  // "Application", "Security" or "System"; nothing (and the error number) when it cannot be opened.
  virtual std::unique_ptr<EventLog> open(const std::string& logName, std::uint32_t& error) = 0;
};

}  // namespace platform
