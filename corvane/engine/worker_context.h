// Everything a request reaches: the computer, the windows (through the worker host and the
// user-interface thread's queue) and the program-wide state. One per program; tests make their own.
#pragma once

#include "corvane/engine/request_state.h"
#include "corvane/engine/thread.h"
#include "corvane/engine/worker_host.h"
#include "corvane/shell/program_state.h"
#include "platform/clock.h"
#include "platform/scm.h"
#include "platform/system_info.h"

namespace corvane {

struct WorkerContext {
  platform::Scm& scm;
  platform::Clock& clock;
  platform::SystemMessages& messages;
  WorkerHost& host;
  UiThread& ui;
  ProgramState& program;
  RequestState& request;
  // Runs the registry editor for the registry backups.
  platform::Processes& processes;
};

}  // namespace corvane
