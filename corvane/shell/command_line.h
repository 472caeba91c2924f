// Corvane's command line: nothing, one snapshot file, or "-open" followed by a snapshot file.
#pragma once

#include <string>
#include <vector>

#include "corvane/shell/dialogs.h"
#include "corvane/shell/program_state.h"
#include "corvane/shell/startup_outcome.h"

namespace corvane {

inline constexpr const char* InvalidCommandLineText =
    "Invalid command line ! Press 'Cancel'\nto exit, 'Ok' for a regular start.  ";

// Sets StartupSnapshotPath and OpenSnapshotAtStart for a valid snapshot file. Every fault is a
// warning with OK and Cancel: OK goes on without a snapshot from that argument, Cancel
// terminates. `arguments` are those after the program path.
StartupOutcome ReadCommandLine(ProgramState& state, const std::vector<std::string>& arguments,
                               Dialogs& dialogs);

}  // namespace corvane
