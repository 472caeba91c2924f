// Event logs of a small simulated computer written as its machine folder keeps them, with a
// switch that reloads the folder, so a test can let a log gain records between two fills.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "corvane/eventlog/event_log_components.h"
#include "platform/clock.h"
#include "platform/sim/message_table.h"
#include "platform/sim/sim_event_logs.h"

namespace corvane::testing {

struct RecordSpec {
  int type = 4;
  std::string time = "2006-12-11 08:00:00";  // UTC
  std::string source = "Service Control Manager";
  std::uint32_t eventId = 7036;
  int category = 0;
  std::string categoryName;  // empty: the default of the file format
  std::string user;
  std::string computer = "XPSP2-LAB";
  std::vector<std::string> strings;
};

// The text of eventlogs/<log>.ini with records numbered from `firstNumber`.
inline std::string logFile(std::uint32_t firstNumber, const std::vector<RecordSpec>& records) {
  std::string text =
      "[Log]\r\nNextRecord=" + std::to_string(firstNumber + records.size()) + "\r\n\r\n";
  std::uint32_t number = firstNumber;
  for (const RecordSpec& record : records) {
    text.append("[").append(std::to_string(number++)).append("]\r\nType=");
    text.append(std::to_string(record.type)).append("\r\nTime=").append(record.time);
    text.append("\r\nSource=").append(record.source).append("\r\nCategory=");
    text.append(std::to_string(record.category)).append("\r\n");
    if (!record.categoryName.empty()) {
      text += "CategoryName=" + record.categoryName + "\r\n";
    }
    text += "EventID=" + std::to_string(record.eventId) + "\r\n";
    if (!record.user.empty()) {
      text += "User=" + record.user + "\r\n";
    }
    text += "Computer=" + record.computer + "\r\n";
    for (std::size_t i = 0; i < record.strings.size(); ++i) {
      text += "String" + std::to_string(i + 1) + "=" + record.strings[i] + "\r\n";
    }
    text += "\r\n";
  }
  return text;
}

// The logs of the folder as they were when last loaded.
class ReloadableEventLogs : public platform::EventLogs {
 public:
  explicit ReloadableEventLogs(std::filesystem::path folder) : folder_(std::move(folder)) {
    reload();
  }
  void reload() { current_ = std::make_unique<platform::sim::SimEventLogs>(folder_); }
  std::unique_ptr<platform::EventLog> open(const std::string& name, std::uint32_t& error) override {
    return current_->open(name, error);
  }

 private:
  std::filesystem::path folder_;
  std::unique_ptr<platform::sim::SimEventLogs> current_;
};

class EventLogTest : public ::testing::Test {
 protected:
  std::filesystem::path logsFolder() const { return folder / "eventlogs"; }

  void writeLog(const std::string& name, std::uint32_t firstNumber,
                const std::vector<RecordSpec>& records) {
    std::filesystem::create_directories(logsFolder());
    TempFolder::writeFile(logsFolder() / (name + ".ini"), logFile(firstNumber, records));
  }
  void writeMessages(const std::string& text) {
    std::filesystem::create_directories(logsFolder());
    TempFolder::writeFile(logsFolder() / "messages.ini", text);
  }
  // Loads the folder (again) and reactivates the three components on it.
  bool reactivate() {
    if (logs == nullptr) {
      logs = std::make_unique<ReloadableEventLogs>(logsFolder());
      components = std::make_unique<EventLogComponents>(*logs, messages);
    } else {
      logs->reload();
    }
    return ReactivateEventLogs(*components, state);
  }

  TempFolder folder;
  platform::VirtualClock clock;
  platform::sim::MessageTable messages;
  EventLogState state;
  int sortColumn = 1;
  std::unique_ptr<ReloadableEventLogs> logs;
  std::unique_ptr<EventLogComponents> components;
};

}  // namespace corvane::testing
