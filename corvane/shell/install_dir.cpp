#include "corvane/shell/install_dir.h"

#include <exception>
#include <optional>

#include "corvane/shell/file_paths.h"

namespace corvane {

namespace {

using platform::RegRoot;

// Yes lets the user point to the settings file, whose folder becomes InstallDir; No keeps it.
StartupOutcome askForSettingsFolder(std::string& installDir, Dialogs& dialogs) {
  const std::string question =
      "Corvane cannot find its settings file ! Click 'Yes' to point the location \nof the file "
      "yourself or click 'No' to use the current directory \n(" +
      installDir + ")\nto create a new settings file using the default settings.";
  if (dialogs.messageBox(question, "Corvane", DialogIcon::Question, DialogButtons::YesNo) !=
      DialogResult::Yes) {
    return StartupOutcome::GoOn;
  }
  FileDialogRequest request;
  request.title = "Point the location for 'settings.ini'";
  request.initialFolder = installDir;
  request.fileName = "settings.ini";
  request.defaultExtension = "ini";
  request.filter = "Settings file (*.ini)|*.ini";
  const std::optional<std::string> chosen = dialogs.openFile(request);
  if (!chosen)
    return StartupOutcome::Terminate;
  installDir = folderOf(*chosen);
  return StartupOutcome::GoOn;
}

}  // namespace

std::string StoredOrProgramFolder(platform::Registry& registry, const std::string& programFolder) {
  std::optional<std::string> stored;
  try {
    registry.createKey(RegRoot::CurrentUser, PerUserKey);
    stored = registry.readText(RegRoot::CurrentUser, PerUserKey, InstallDirValue);
  } catch (const std::exception&) {
    return programFolder;
  }
  if (!stored || stored->empty() || *stored == "0" || !isFolder(*stored))
    return programFolder;
  return *stored;
}

StartupOutcome ResolveInstallDir(ProgramState& state, platform::Registry& registry,
                                 Dialogs& dialogs, const std::string& programFolder) {
  std::string installDir = StoredOrProgramFolder(registry, programFolder);
  if (!isFolder(installDir)) {
    try {
      if (askForSettingsFolder(installDir, dialogs) == StartupOutcome::Terminate) {
        return StartupOutcome::Terminate;
      }
    } catch (const std::exception&) {
      dialogs.showMessage("Fatal failure ...\nPress ok to terminate !");
      return StartupOutcome::Terminate;
    }
  }
  state.InstallDir = withoutTrailingSeparator(installDir);
  try {
    registry.writeText(RegRoot::CurrentUser, PerUserKey, InstallDirValue, state.InstallDir);
  } catch (const std::exception&) {
    // The program works from the folder it found; the value is written at the next start.
  }
  return StartupOutcome::GoOn;
}

}  // namespace corvane
