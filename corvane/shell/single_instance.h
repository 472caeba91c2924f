// One Corvane at a time: a second start brings the first one's main window forward.
#pragma once

#include "corvane/shell/dialogs.h"
#include "corvane/shell/startup_outcome.h"

namespace corvane {

// The platform's side of the rule: on Windows the named semaphore "CorvaneSemaphore" and the
// window of class "TMainForm" titled "Corvane"; in the Qt program a lock file and a local socket.
class InstanceGuard {
 public:
  enum class Role { First, Second };
  virtual ~InstanceGuard() = default;
  // Decides whether this is the first instance; the first keeps the guard until it ends.
  virtual Role acquire() = 0;
  // Restores the first instance's main window when minimised and brings it to the foreground;
  // false when it cannot be found.
  virtual bool bringFirstForward() = 0;
};

// GoOn for the first instance. A second one brings the first forward or, when it cannot be
// found, shows "Corvane is already running !", and terminates.
StartupOutcome EnsureSingleInstance(InstanceGuard& guard, Dialogs& dialogs);

}  // namespace corvane
