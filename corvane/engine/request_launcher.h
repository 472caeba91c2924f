// The main window's side of a request: LaunchRequest submits it, WorkerDone completes it, and the
// close query stops a running worker.
#pragma once

#include <cstdint>
#include <optional>

#include "corvane/engine/main_window_view.h"
#include "corvane/engine/worker_context.h"
#include "corvane/shell/dialogs.h"

namespace corvane {

enum class CloseWithWorker {
  NoWorker,       // nothing runs: the close goes on as usual
  KeepRunning,    // the user answered No: refuse the close
  WorkerStopped,  // the worker has been stopped for good: terminate and hide the windows
};

class RequestLauncher {
 public:
  RequestLauncher(MainWindowView& view, Dialogs& dialogs, const WorkerContext& context);

  // The single way to start a request; callers set FullRefresh and RefreshAllViews first. While
  // requests are blocked or a worker runs the request is dropped without notice. True when a
  // worker was started.
  bool LaunchRequest(std::int32_t code);

  // The worker's termination handler, on the user-interface thread after Execute has returned.
  void WorkerDone(Thread& worker);

  // The close query's step for a running worker: holds it at its next hand-over, asks
  // "Terminate current operation and exit ?" and either lets it go on (No) or stops it there for
  // good and waits until it has left (Yes). Every platform write the worker had begun has ended
  // by then, so nothing is left half-written.
  CloseWithWorker StopWorkerForClose();

  // When StopWorkerForClose ran inside one of the worker's own hand-overs (a message loop run by
  // it), the worker leaves only once that hand-over has returned. The program calls this after
  // its event loop has ended and before it lets go of the computer.
  void WaitForStoppedWorker();

 private:
  void FillEventListWhenDue();
  void EnableAfterRequest();

  MainWindowView& view_;
  Dialogs& dialogs_;
  WorkerContext context_;
  std::optional<Thread::Ending> stoppingWorker_;
};

}  // namespace corvane
