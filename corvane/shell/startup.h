// The main window's creation-time set-up and first showing, without the window: the window runs
// these and does only its own part (hints, timer, cosmetics, images) between them.
#pragma once

#include <string>
#include <vector>

#include "corvane/shell/dialogs.h"
#include "corvane/shell/program_state.h"
#include "corvane/shell/startup_outcome.h"
#include "platform/registry.h"
#include "platform/system_info.h"

namespace corvane {

struct StartupEnvironment {
  platform::Registry& registry;  // the per-user value InstallDir and the local machine
  platform::SystemInfo& systemInfo;
  Dialogs& dialogs;
  std::string programFolder;           // the folder of the running program file
  std::vector<std::string> arguments;  // the command line after the program path
};

// In order: ExtraDescriptions with one empty line, InstallDir, the command line, the buffers,
// ExtraDescFiles, the operating-system check with the extra descriptions, the flags, the tables
// and MainRegistry. Terminate (after the step's message) clears ShowMainFormAtStart; the window
// then asks the application to terminate.
StartupOutcome MainFormCreate(ProgramState& state, const StartupEnvironment& environment);

enum class FirstRequest { RefreshAll, LoadSnapshot };

// The first showing: sets FullRefresh and RefreshAllViews, clears RequestsBlocked, and names the
// request to submit: the snapshot named on the command line, or a full refresh.
FirstRequest MainFormShow(ProgramState& state);

}  // namespace corvane
