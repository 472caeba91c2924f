// The event logs of the simulated computer: one INI file per log in the machine's eventlogs
// folder, and messages.ini with the message texts of the event sources.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/event_logs.h"

namespace platform::sim {

struct EventLogFile {
  std::filesystem::path path;
  std::string name;  // the log's name: the file name without ".ini"
  std::uint32_t nextRecord = 1;
  std::vector<EventRecord> records;  // numbered consecutively, oldest first
};

// Message texts by source (lower case) and identifier (low 16 bits).
using EventMessages = std::map<std::string, std::map<std::uint16_t, std::string>>;

// Loaders; they throw MachineFileError naming `shownName` and the line at fault.
EventLogFile parseEventLogFile(std::string_view text, const std::string& shownName);
EventMessages parseEventMessages(std::string_view text, const std::string& shownName);

// A source's message with the insertion strings: "%1" to "%99" take the strings as they are
// (a missing one stays as written), "%n" is a line break ("\r\n"), "%%" a percent sign.
std::string formatEventMessage(std::string_view message, const std::vector<std::string>& strings);
// The description of a record whose source has no message for its identifier.
std::string fallbackEventDescription(const EventRecord& record);

class SimEventLogs : public EventLogs {
 public:
  // Reads every log of `folder` (each *.ini but messages.ini) and its messages.ini; a missing
  // folder has no logs. Throws MachineFileError for a file that cannot be loaded.
  explicit SimEventLogs(const std::filesystem::path& folder);

  // The log by its name, in any letter case; nothing with error 2 for a log the computer lacks.
  std::unique_ptr<EventLog> open(const std::string& logName, std::uint32_t& error) override;

 private:
  std::vector<std::shared_ptr<EventLogFile>> logs_;
  std::shared_ptr<const EventMessages> messages_;
};

}  // namespace platform::sim
