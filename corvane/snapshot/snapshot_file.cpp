#include "corvane/snapshot/snapshot_file.h"

#include <exception>

#include "common/atomic_file.h"
#include "common/ini_document.h"
#include "common/text.h"
#include "corvane/shell/date_time_format.h"

namespace corvane {

namespace {

const char* const ApplyStatusKey = "ApplyStatus";
const char* const ApplyStartTypeKey = "ApplyStartType";
const char* const DisplayNameKey = "DisplayName";
const char* const StartupTypeKey = "StartupType";
const char* const CurrentStatusKey = "CurrentStatus";

// An option as the file stores it: any integer but 0 sets it, a missing key reads as 0.
std::optional<bool> readOption(const common::IniDocument& document, const char* key,
                               std::string& error) {
  const std::string text = document.readString(SnapshotOptionsSection, key, "0");
  const std::optional<std::int32_t> value = common::parseInteger(text);
  if (!value) {
    error = "'" + text + "' is not a valid integer value";
    return std::nullopt;
  }
  return *value != 0;
}

}  // namespace

std::string ProposedSnapshotName(const platform::LocalTime& today) {
  const int month = today.month >= 1 && today.month <= 12 ? today.month : 1;
  return std::to_string(today.day) + "." + ShortMonthNames[static_cast<std::size_t>(month - 1)] +
         "." + std::to_string(today.year) + ".snapshot";
}

void WriteSnapshotFile(const std::filesystem::path& path, bool applyStatus, bool applyStartType,
                       const std::vector<SnapshotEntry>& entries) {
  // The old content is not read: the new one replaces it whole.
  common::IniDocument document;
  document.writeString(SnapshotOptionsSection, ApplyStatusKey, applyStatus ? "1" : "0");
  document.writeString(SnapshotOptionsSection, ApplyStartTypeKey, applyStartType ? "1" : "0");
  for (const SnapshotEntry& entry : entries) {
    document.writeString(entry.Name, DisplayNameKey, entry.DisplayName);
    document.writeString(entry.Name, StartupTypeKey, entry.StartupType);
    document.writeString(entry.Name, CurrentStatusKey, entry.Status);
  }
  common::writeFileAtomically(path, document.serialize());
}

SnapshotReading ReadSnapshotFile(const std::filesystem::path& path) {
  SnapshotReading reading;
  std::string text;
  try {
    text = common::readFile(path, MaxSnapshotFileBytes);
  } catch (const common::FileError& failure) {
    switch (failure.kind()) {
      case common::FileError::Kind::Missing:
        reading.error = "The file \"" + common::pathText(path) + "\" does not exist.";
        break;
      case common::FileError::Kind::TooLarge:
        reading.error = "The file \"" + common::pathText(path) +
                        "\" is too large for a snapshot (more than " +
                        std::to_string(MaxSnapshotFileBytes / 1024) + " KB).";
        break;
      default:
        reading.error = failure.what();
        break;
    }
    return reading;
  } catch (const std::exception& failure) {
    reading.error = failure.what();
    return reading;
  }
  if (text.find('\0') != std::string::npos) {
    reading.error =
        "The file \"" + common::pathText(path) + "\" is not a snapshot file: it holds binary data.";
    return reading;
  }

  const common::IniDocument document = common::IniDocument::parse(text);
  std::string error;
  reading.ApplyStatus = readOption(document, ApplyStatusKey, error);
  if (!reading.ApplyStatus) {
    reading.error = error;
    return reading;
  }
  reading.ApplyStartType = readOption(document, ApplyStartTypeKey, error);
  if (!reading.ApplyStartType) {
    reading.error = error;
    return reading;
  }
  for (const std::string& section : document.sectionNames()) {
    reading.Entries.push_back({section,
                               document.readString(section, DisplayNameKey, MissingEntryValue),
                               document.readString(section, StartupTypeKey, MissingEntryValue),
                               document.readString(section, CurrentStatusKey, MissingEntryValue)});
  }
  return reading;
}

}  // namespace corvane
