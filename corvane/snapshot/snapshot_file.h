// The snapshot file: an INI text with the section "-options-" and one section per entry.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace corvane {

// One entry of a snapshot; all four fields are texts, kept as they are written.
struct SnapshotEntry {
  std::string Name;
  std::string DisplayName;
  std::string StartupType;
  std::string Status;

  bool operator==(const SnapshotEntry&) const = default;
};

inline constexpr const char* SnapshotOptionsSection = "-options-";
// The text of a key that is missing from an entry's section.
inline constexpr const char* MissingEntryValue = "error";

// The largest snapshot file that is read: far beyond the few kilobytes of a computer's services.
inline constexpr std::uintmax_t MaxSnapshotFileBytes = 1024 * 1024;

// The file dialogs of the snapshot window.
inline constexpr const char* SnapshotFolderName = "SnapShots";
inline constexpr const char* SnapshotFilter =
    "Snapshot files (*.snapshot)|*.snapshot|All files (*.*)|*.*";
inline constexpr const char* SnapshotExtension = "snapshot";
inline constexpr const char* SaveSnapshotTitle = "Save SnapShot";
inline constexpr const char* OpenSnapshotTitle = "Open SnapShot";
inline constexpr const char* OpenSnapshotName = "custom.snapshot";

// The name the save dialog proposes for a day: "7.Mar.2005.snapshot".
std::string ProposedSnapshotName(const platform::LocalTime& today);

// Replaces the whole file with the options and the entries, in one piece: on any failure the
// file is as it was. Throws std::runtime_error (common::IniError, common::FileError) with a
// message that names the file and the reason, for example a text with a line break.
void WriteSnapshotFile(const std::filesystem::path& path, bool applyStatus, bool applyStartType,
                       const std::vector<SnapshotEntry>& entries);

// What reading a file yields. An option stays unset when the reading stopped before it; `error`
// says why the reading stopped, and what was read until then is kept.
struct SnapshotReading {
  std::optional<bool> ApplyStatus;
  std::optional<bool> ApplyStartType;
  // One per section in file order, "-options-" included.
  std::vector<SnapshotEntry> Entries;
  std::optional<std::string> error;
};

// Reads a snapshot file. A missing file, a folder, a file past MaxSnapshotFileBytes or one
// holding binary data (a zero byte) gives an error before anything is read; an option value
// that is not an integer stops the reading there.
SnapshotReading ReadSnapshotFile(const std::filesystem::path& path);

}  // namespace corvane
