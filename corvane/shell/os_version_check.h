// The operating-system check of the start-up: the kind of NT system, its status-bar text and the
// extra-descriptions file that goes with it.
#pragma once

#include <cstdint>

#include "corvane/shell/dialogs.h"
#include "corvane/shell/program_state.h"
#include "corvane/shell/startup_outcome.h"
#include "platform/system_info.h"

namespace corvane {

// Extra-descriptions files larger than this are not loaded.
inline constexpr std::uintmax_t MaxExtraDescriptionsBytes = 16 * 1024 * 1024;

// ExtraDescFiles from InstallDir, with the platform's separator.
void FillExtraDescFiles(ProgramState& state);

// Replaces ExtraDescriptions with the lines of ExtraDescFiles[OsKind]; false, leaving them as
// they were, when the file is missing, unreadable or too large.
bool LoadExtraDescriptions(ProgramState& state);

// An NT-family system sets OsKind and OsVersionText by its minor version and loads its extra
// descriptions ("Unable to open extra descriptions file." when that fails, and start-up goes
// on). Any other system gets "Wrong OS version: ..." and terminates.
StartupOutcome CheckOsVersion(ProgramState& state, platform::SystemInfo& systemInfo,
                              Dialogs& dialogs);

}  // namespace corvane
