#include "corvane/shell/single_instance.h"

namespace corvane {

StartupOutcome EnsureSingleInstance(InstanceGuard& guard, Dialogs& dialogs) {
  if (guard.acquire() == InstanceGuard::Role::First)
    return StartupOutcome::GoOn;
  if (!guard.bringFirstForward()) {
    dialogs.messageBox("Corvane is already running !", "Corvane", DialogIcon::Information,
                       DialogButtons::Ok);
  }
  return StartupOutcome::Terminate;
}

}  // namespace corvane
