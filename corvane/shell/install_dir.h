// Finding the program folder, InstallDir, from the per-user registry value.
#pragma once

#include <string>

#include "corvane/shell/dialogs.h"
#include "corvane/shell/program_state.h"
#include "corvane/shell/startup_outcome.h"
#include "platform/registry.h"

namespace corvane {

inline constexpr const char* PerUserKey = "Software\\Tavik\\Corvane";
inline constexpr const char* InstallDirValue = "InstallDir";

// The stored folder when it is usable (not empty, not "0", an existing folder), else the
// program's own folder. Creates the per-user key when it is missing.
std::string StoredOrProgramFolder(platform::Registry& registry, const std::string& programFolder);

// Sets InstallDir: the stored or the program's folder; when even that is no folder, the user
// points to the settings file or keeps it. The result, without a trailing separator, is written
// back to the per-user value (a failed write is ignored). Terminate when the user cancels.
StartupOutcome ResolveInstallDir(ProgramState& state, platform::Registry& registry,
                                 Dialogs& dialogs, const std::string& programFolder);

}  // namespace corvane
