#include "corvane/shell/command_line.h"

#include "common/text.h"
#include "corvane/shell/file_paths.h"

namespace corvane {

namespace {

bool okToGoOn(Dialogs& dialogs, const std::string& text) {
  return dialogs.messageBox(text, "Corvane", DialogIcon::Warning, DialogButtons::OkCancel) ==
         DialogResult::Ok;
}

// False when the user chose to end the program.
bool takeSnapshotFile(ProgramState& state, const std::string& path, Dialogs& dialogs) {
  if (!isFile(path)) {
    return okToGoOn(dialogs,
                    std::string("Error: File does not exists !\n") + InvalidCommandLineText);
  }
  if (!common::equalsIgnoreCase(extensionOf(path), ".snapshot")) {
    return okToGoOn(dialogs, std::string("Error: File must have '.snapshot' extension !\n") +
                                 InvalidCommandLineText);
  }
  state.StartupSnapshotPath = path;
  state.OpenSnapshotAtStart = true;
  return true;
}

}  // namespace

StartupOutcome ReadCommandLine(ProgramState& state, const std::vector<std::string>& arguments,
                               Dialogs& dialogs) {
  bool goOn = true;
  if (arguments.size() == 1) {
    goOn = takeSnapshotFile(state, arguments[0], dialogs);
  } else if (arguments.size() == 2) {
    for (std::size_t i = 0; i < arguments.size() && goOn; ++i) {
      if (arguments[i] != "-open")
        continue;
      goOn = i + 1 < arguments.size() ? takeSnapshotFile(state, arguments[i + 1], dialogs)
                                      : okToGoOn(dialogs, InvalidCommandLineText);
    }
  } else if (arguments.size() > 2) {
    goOn = okToGoOn(dialogs, InvalidCommandLineText);
  }
  return goOn ? StartupOutcome::GoOn : StartupOutcome::Terminate;
}

}  // namespace corvane
