#include "corvane/shell/startup.h"

#include <exception>

#include "corvane/shell/command_line.h"
#include "corvane/shell/install_dir.h"
#include "corvane/shell/os_version_check.h"

namespace corvane {

namespace {

// The tables with every record's lists empty.
StartupOutcome createTables(ProgramState& state, Dialogs& dialogs) {
  try {
    state.catalogue = Catalogue();
    state.BatchList.assign(InitialTableRecords, ServiceRecord());
  } catch (const std::exception& failure) {
    dialogs.messageBox(
        std::string("Allocation error:\n") + failure.what() + "\n\nExecution terminated !", "error",
        DialogIcon::Error, DialogButtons::Ok);
    return StartupOutcome::Terminate;
  }
  return StartupOutcome::GoOn;
}

StartupOutcome createSteps(ProgramState& state, const StartupEnvironment& environment) {
  state.ExtraDescriptions.Lines.assign(1, "");
  if (ResolveInstallDir(state, environment.registry, environment.dialogs,
                        environment.programFolder) == StartupOutcome::Terminate ||
      ReadCommandLine(state, environment.arguments, environment.dialogs) ==
          StartupOutcome::Terminate) {
    return StartupOutcome::Terminate;
  }
  state.ConfigBuffer = platform::ServiceConfig();
  state.StatusBuffer = platform::ServiceStatus();
  FillExtraDescFiles(state);
  if (CheckOsVersion(state, environment.systemInfo, environment.dialogs) ==
      StartupOutcome::Terminate) {
    return StartupOutcome::Terminate;
  }
  state.RefreshAllViews = true;
  state.FullRefresh = true;
  state.SnapshotRequest = false;
  state.ServSortColumn = 0;
  state.EventSortColumn = 1;
  if (createTables(state, environment.dialogs) == StartupOutcome::Terminate) {
    return StartupOutcome::Terminate;
  }
  state.MainRegistry = &environment.registry;
  return StartupOutcome::GoOn;
}

}  // namespace

StartupOutcome MainFormCreate(ProgramState& state, const StartupEnvironment& environment) {
  const StartupOutcome outcome = createSteps(state, environment);
  if (outcome == StartupOutcome::Terminate) {
    state.ShowMainFormAtStart = false;
  }
  return outcome;
}

FirstRequest MainFormShow(ProgramState& state) {
  state.FullRefresh = true;
  state.RefreshAllViews = true;
  state.RequestsBlocked = false;
  return state.OpenSnapshotAtStart ? FirstRequest::LoadSnapshot : FirstRequest::RefreshAll;
}

}  // namespace corvane
