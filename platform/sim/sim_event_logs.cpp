#include "platform/sim/sim_event_logs.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "common/ini_document.h"
#include "common/text.h"
#include "platform/sim/sim_ini_lines.h"
#include "platform/sim/sim_machine_error.h"
#include "platform/types.h"

namespace platform::sim {

namespace {

constexpr std::size_t kMaxLogFileBytes = 64u * 1024 * 1024;
constexpr std::uint32_t kWriteFault = 29;  // the platform's number for a failed write
constexpr std::string_view kLogSection = "Log";
constexpr std::string_view kMessagesFile = "messages.ini";

std::optional<std::uint32_t> parseUnsigned(std::string_view text) {
  const auto number = common::parseDecimal(text);
  if (!number || *number < 0 || *number > std::numeric_limits<std::uint32_t>::max())
    return std::nullopt;
  return static_cast<std::uint32_t>(*number);
}

std::int64_t daysFromCivil(int year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int era = (year >= 0 ? year : year - 399) / 400;
  const int yearOfEra = year - era * 400;
  const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return static_cast<std::int64_t>(era) * 146097 + dayOfEra - 719468;
}

// "YYYY-MM-DD HH:MM:SS", UTC, as seconds since 1970.
std::optional<std::int64_t> parseTime(std::string_view text) {
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':')
    return std::nullopt;
  const auto part = [&](std::size_t at, std::size_t length) {
    return common::parseDecimal(text.substr(at, length));
  };
  const auto year = part(0, 4), month = part(5, 2), day = part(8, 2);
  const auto hour = part(11, 2), minute = part(14, 2), second = part(17, 2);
  if (!year || !month || !day || !hour || !minute || !second)
    return std::nullopt;
  constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (*year % 4 == 0 && *year % 100 != 0) || *year % 400 == 0;
  if (*year < 1970 || *month < 1 || *month > 12 || *day < 1 ||
      *day > kDaysInMonth[*month - 1] - (*month == 2 && !leap ? 1 : 0) || *hour > 23 ||
      *minute > 59 || *second > 59)
    return std::nullopt;
  return daysFromCivil(static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day)) *
             86400 +
         *hour * 3600 + *minute * 60 + *second;
}

// Sets one field of a record from a key line; false when the key is unknown. A value that cannot
// be read leaves a problem text.
bool applyRecordKey(EventRecord& record, const IniLine& line, std::string& problem) {
  const std::string& key = line.key;
  const std::string& value = line.value;
  const auto number = [&](std::uint32_t limit) -> std::uint32_t {
    const auto parsed = parseUnsigned(value);
    if (!parsed || *parsed > limit) {
      problem = key + " \"" + value + "\" is not a number up to " + std::to_string(limit);
      return 0;
    }
    return *parsed;
  };
  if (common::equalsIgnoreCase(key, "Type")) {
    record.eventType = static_cast<std::uint16_t>(number(0xFFFF));
  } else if (common::equalsIgnoreCase(key, "Time")) {
    const auto time = parseTime(value);
    if (time)
      record.timeGenerated = *time;
    else
      problem = "Time \"" + value + "\" is not a time as YYYY-MM-DD HH:MM:SS";
  } else if (common::equalsIgnoreCase(key, "Source")) {
    record.sourceName = value;
  } else if (common::equalsIgnoreCase(key, "Category")) {
    record.category = static_cast<std::uint16_t>(number(0xFFFF));
  } else if (common::equalsIgnoreCase(key, "CategoryName")) {
    record.categoryName = value;
  } else if (common::equalsIgnoreCase(key, "EventID")) {
    record.eventId = number(std::numeric_limits<std::uint32_t>::max());
  } else if (common::equalsIgnoreCase(key, "User")) {
    record.userName = value;
  } else if (common::equalsIgnoreCase(key, "Computer")) {
    record.computerName = value;
  } else if (key.size() > 6 && common::equalsIgnoreCase(key.substr(0, 6), "String")) {
    const auto position = parseUnsigned(key.substr(6));
    if (!position || *position < 1 || *position > 99)
      return false;
    // A gap in String1..StringN reads as an empty insertion string.
    if (record.strings.size() < *position)
      record.strings.resize(*position);
    record.strings[*position - 1] = value;
  } else {
    return false;
  }
  return true;
}

struct PendingRecord {
  EventRecord record;
  int line = 0;
  bool hasTime = false, hasSource = false, hasId = false, hasCategoryName = false;
};

void finishRecord(PendingRecord& pending, const std::string& shownName) {
  const auto missing = [&](const char* key) {
    throw MachineFileError(
        shownName, pending.line,
        "record " + std::to_string(pending.record.recordNumber) + " has no " + key);
  };
  if (!pending.hasTime)
    missing("Time");
  if (!pending.hasSource)
    missing("Source");
  if (!pending.hasId)
    missing("EventID");
  if (!pending.hasCategoryName)
    pending.record.categoryName =
        pending.record.category == 0
            ? "None"
            : std::string("(").append(std::to_string(pending.record.category)).append(")");
}

}  // namespace

EventLogFile parseEventLogFile(std::string_view text, const std::string& shownName) {
  EventLogFile log;
  bool hasNextRecord = false;
  int nextRecordLine = 0;
  std::optional<PendingRecord> pending;
  const auto closeRecord = [&] {
    if (!pending)
      return;
    finishRecord(*pending, shownName);
    log.records.push_back(std::move(pending->record));
    pending.reset();
  };
  for (const IniLine& line : iniLines(text)) {
    if (line.kind == IniLine::Kind::Header) {
      closeRecord();
      if (common::equalsIgnoreCase(line.section, kLogSection))
        continue;
      const auto number = parseUnsigned(line.section);
      if (!number || *number == 0)
        throw MachineFileError(
            shownName, line.number,
            "section [" + line.section + "] is neither [Log] nor a record number");
      if (!log.records.empty() && *number != log.records.back().recordNumber + 1)
        throw MachineFileError(shownName, line.number,
                               "record " + line.section + " does not follow record " +
                                   std::to_string(log.records.back().recordNumber) +
                                   " (records are numbered one after another, oldest first)");
      pending.emplace();
      pending->record.recordNumber = *number;
      pending->line = line.number;
      continue;
    }
    if (line.kind == IniLine::Kind::Plain)
      throw MachineFileError(shownName, line.number, "\"" + line.value + "\" is not a key line");
    if (!pending) {  // the [Log] section
      if (!common::equalsIgnoreCase(line.key, "NextRecord"))
        throw MachineFileError(shownName, line.number, "unknown key \"" + line.key + "\" in [Log]");
      const auto number = parseUnsigned(line.value);
      if (!number || *number == 0)
        throw MachineFileError(shownName, line.number,
                               "NextRecord \"" + line.value + "\" is not a record number");
      log.nextRecord = *number;
      hasNextRecord = true;
      nextRecordLine = line.number;
      continue;
    }
    std::string problem;
    if (!applyRecordKey(pending->record, line, problem))
      throw MachineFileError(shownName, line.number, "unknown key \"" + line.key + "\"");
    if (!problem.empty())
      throw MachineFileError(shownName, line.number, problem);
    pending->hasTime |= common::equalsIgnoreCase(line.key, "Time");
    pending->hasSource |= common::equalsIgnoreCase(line.key, "Source");
    pending->hasId |= common::equalsIgnoreCase(line.key, "EventID");
    pending->hasCategoryName |= common::equalsIgnoreCase(line.key, "CategoryName");
  }
  closeRecord();
  const std::uint32_t afterLast = log.records.empty() ? 1 : log.records.back().recordNumber + 1;
  if (!hasNextRecord) {
    log.nextRecord = afterLast;
  } else if (!log.records.empty() && log.nextRecord < afterLast) {
    throw MachineFileError(shownName, nextRecordLine,
                           "NextRecord " + std::to_string(log.nextRecord) +
                               " is not above the last record " + std::to_string(afterLast - 1));
  }
  return log;
}

EventMessages parseEventMessages(std::string_view text, const std::string& shownName) {
  EventMessages messages;
  for (const IniLine& line : iniLines(text)) {
    auto& texts = messages[common::toLowerAscii(line.section)];
    if (line.kind == IniLine::Kind::Header)
      continue;
    const auto id = line.kind == IniLine::Kind::Key ? parseUnsigned(line.key) : std::nullopt;
    if (!id || *id > 0xFFFF)
      throw MachineFileError(shownName, line.number,
                             "expected \"<event identifier>=<message>\" with an identifier "
                             "from 0 to 65535");
    texts[static_cast<std::uint16_t>(*id)] = line.value;
  }
  return messages;
}

std::string formatEventMessage(std::string_view message, const std::vector<std::string>& strings) {
  std::string text;
  for (std::size_t i = 0; i < message.size(); ++i) {
    const char c = message[i];
    if (c != '%' || i + 1 == message.size()) {
      text.push_back(c);
      continue;
    }
    const char next = message[i + 1];
    if (next == 'n') {
      text += "\r\n";
      ++i;
    } else if (next == '%') {
      text.push_back('%');
      ++i;
    } else if (next >= '1' && next <= '9') {
      std::size_t digits = 1;
      if (i + 2 < message.size() && message[i + 2] >= '0' && message[i + 2] <= '9')
        digits = 2;
      const std::size_t position = std::stoul(std::string(message.substr(i + 1, digits)));
      if (position <= strings.size())
        text += strings[position - 1];
      else
        text += message.substr(i, 1 + digits);
      i += digits;
    } else {
      text.push_back(c);
    }
  }
  return text;
}

std::string fallbackEventDescription(const EventRecord& record) {
  std::string text = "The description for Event ID ( " + std::to_string(record.eventId & 0xFFFF) +
                     " ) in Source ( " + record.sourceName + " ) cannot be found.";
  for (const std::string& insertion : record.strings)
    text += "\r\n" + insertion;
  return text;
}

namespace {

class SimEventLog : public EventLog {
 public:
  SimEventLog(std::shared_ptr<EventLogFile> log, std::shared_ptr<const EventMessages> messages)
      : log_(std::move(log)), messages_(std::move(messages)) {}

  std::uint32_t count() override { return static_cast<std::uint32_t>(log_->records.size()); }

  std::uint32_t oldestRecordNumber() override {
    return log_->records.empty() ? 0 : log_->records.front().recordNumber;
  }

  std::optional<EventRecord> record(std::uint32_t index) override {
    if (index >= log_->records.size())
      return std::nullopt;
    return log_->records[index];
  }

  std::optional<std::string> description(std::uint32_t index) override {
    if (index >= log_->records.size())
      return std::nullopt;
    const EventRecord& entry = log_->records[index];
    const auto source = messages_->find(common::toLowerAscii(entry.sourceName));
    if (source != messages_->end()) {
      const auto text = source->second.find(static_cast<std::uint16_t>(entry.eventId & 0xFFFF));
      if (text != source->second.end())
        return formatEventMessage(text->second, entry.strings);
    }
    return fallbackEventDescription(entry);
  }

  bool clear(std::uint32_t& error) override {
    try {
      const std::string nextRecord = std::to_string(log_->nextRecord);
      common::IniDocument::modifyFile(log_->path, [&](common::IniDocument& document) {
        for (const std::string& section : document.sectionNames())
          if (!common::equalsIgnoreCase(section, kLogSection))
            document.eraseSection(section);
        document.writeString(kLogSection, "NextRecord", nextRecord);
      });
    } catch (const std::exception&) {
      error = kWriteFault;
      return false;
    }
    log_->records.clear();
    error = 0;
    return true;
  }

 private:
  std::shared_ptr<EventLogFile> log_;
  std::shared_ptr<const EventMessages> messages_;
};

}  // namespace

SimEventLogs::SimEventLogs(const std::filesystem::path& folder) {
  auto messages = std::make_shared<EventMessages>();
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) {
    messages_ = messages;
    return;
  }
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::filesystem::path& path = entry.path();
    if (common::equalsIgnoreCase(path.extension().string(), ".ini"))
      files.push_back(path);
  }
  std::sort(files.begin(), files.end());
  for (const std::filesystem::path& path : files) {
    const std::string shownName = path.string();
    const std::string text = readMachineTextFile(path, shownName, kMaxLogFileBytes);
    if (common::equalsIgnoreCase(path.filename().string(), kMessagesFile)) {
      *messages = parseEventMessages(text, shownName);
      continue;
    }
    auto log = std::make_shared<EventLogFile>(parseEventLogFile(text, shownName));
    log->path = path;
    log->name = path.stem().string();
    logs_.push_back(std::move(log));
  }
  messages_ = messages;
}

std::unique_ptr<EventLog> SimEventLogs::open(const std::string& logName, std::uint32_t& error) {
  for (const auto& log : logs_) {
    if (common::equalsIgnoreCase(log->name, logName)) {
      error = 0;
      return std::make_unique<SimEventLog>(log, messages_);
    }
  }
  error = err::FileNotFound;
  return nullptr;
}

}  // namespace platform::sim
