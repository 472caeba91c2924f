#include "corvane/editors/description_save.h"

#include <filesystem>
#include <optional>
#include <vector>

#include "common/atomic_file.h"
#include "corvane/editors/description_section.h"
#include "corvane/shell/os_version_check.h"
#include "corvane/shell/text_lines.h"

namespace corvane {

namespace {

namespace fs = std::filesystem;

fs::path pathOf(const std::string& file) {
  return fs::path(std::u8string(file.begin(), file.end()));
}

void writeDescriptionsFile(const fs::path& path, const std::string& bytes) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
    throw common::FileError(common::FileError::Kind::WriteFailed, path, "the file is read-only");
  }
  if (path.has_parent_path()) {
    fs::create_directories(path.parent_path(), error);
  }
  common::writeFileAtomically(path, bytes);
}

}  // namespace

void DoSave(const std::string& file, std::string_view displayName, std::string_view text,
            Dialogs& dialogs) {
  const fs::path path = pathOf(file);
  std::vector<std::string> items;
  try {
    items = splitLines(common::readFile(path, MaxExtraDescriptionsBytes));
  } catch (const common::FileError& failure) {
    dialogs.messageBox(file + "\non load :\n" + failure.what(), "error", DialogIcon::Error,
                       DialogButtons::Ok);
    if (failure.kind() != common::FileError::Kind::Missing) {
      return;
    }
  }
  PutSection(items, displayName, WithCrLf(text));
  const std::string bytes = FileTextOf(items);
  for (;;) {
    try {
      writeDescriptionsFile(path, bytes);
      return;
    } catch (const std::exception& failure) {
      const DialogResult answer = dialogs.messageBox(
          "When saving file: " + file + "\nerror encountered:\n" + failure.what(), "error",
          DialogIcon::Error, DialogButtons::RetryIgnore);
      if (answer != DialogResult::Retry) {
        return;
      }
    }
  }
}

bool SaveDescription(ProgramState& program, Dialogs& dialogs, std::string_view displayName,
                     std::string_view text, bool saveAll, int fileIndex) {
  if (const std::optional<std::string> problem = SectionProblem(displayName, text)) {
    dialogs.messageBox(*problem, "error", DialogIcon::Error, DialogButtons::Ok);
    return false;
  }
  if (saveAll) {
    for (const std::string& file : program.ExtraDescFiles) {
      DoSave(file, displayName, text, dialogs);
    }
  } else if (fileIndex >= 0 &&
             static_cast<std::size_t>(fileIndex) < program.ExtraDescFiles.size()) {
    DoSave(program.ExtraDescFiles[static_cast<std::size_t>(fileIndex)], displayName, text, dialogs);
  } else {
    return false;
  }
  LoadExtraDescriptions(program);
  return true;
}

}  // namespace corvane
