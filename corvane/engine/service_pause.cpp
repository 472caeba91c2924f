#include "corvane/engine/service_pause.h"

#include <string>

#include "corvane/engine/Thread_batch.h"
#include "corvane/engine/service_handle.h"

namespace corvane {

namespace {

constexpr std::uint32_t ZeroCheckPointPause = MinPollInterval;

// `done` completes "\nservice successfully ", `control` names the control in the failure line.
std::int32_t WaitForState(batch& worker, platform::ScHandle service, std::uint32_t target,
                          const std::string& done, const std::string& control,
                          platform::ServiceStatus& status) {
  platform::Scm& scm = worker.Context().scm;
  platform::Clock& clock = worker.Context().clock;
  const auto query = [&] {
    if (scm.queryServiceStatus(service, status))
      return true;
    worker.ConsoleWriteError("\nerror querying status", scm.lastError());
    return false;
  };
  while (status.currentState != target) {
    if (worker.AdvanceConsoleProgress(ProgressStep) > 100) {
      worker.ConsoleWrite("\nservice pending timed out.");
      return -1;
    }
    clock.sleep(worker.Request().PollInterval);
    if (!query())
      return -1;
    if (status.checkPoint == 0) {
      clock.sleep(ZeroCheckPointPause);
      if (!query())
        return -1;
      if (status.currentState == target)
        break;
      worker.ConsoleWrite("\nCheckPoint set to zero.");
      worker.ConsoleWrite("\n" + control + " control probably failed.");
      return -1;
    }
    if (worker.Terminated())
      return -1;
  }
  worker.ConsoleWrite("\nservice successfully " + done);
  return 0;
}

}  // namespace

std::int32_t PauseOrResume(batch& worker) {
  platform::Scm& scm = worker.Context().scm;
  RequestState& request = worker.Request();
  OpenedService service(scm, request.ScmHandle, request.RequestServiceName, request.ServiceHandle);
  if (!service) {
    worker.ConsoleWriteError("\nerror: can't open service", scm.lastError());
    return -1;
  }
  platform::ServiceStatus status;
  if (!scm.queryServiceStatus(service.Handle(), status)) {
    worker.ConsoleWriteError("\nerror querying status", scm.lastError());
    worker.ConsoleWrite("\nservice state not changed");
    return -1;
  }
  if (status.currentState == platform::state::Paused) {
    if (!scm.controlService(service.Handle(), platform::control::Continue, status)) {
      worker.ConsoleWriteError("\nerror: can't resume service", scm.lastError());
      return -1;
    }
    worker.ConsoleWrite("\nwaiting service to resume...");
    worker.EnableConsoleButton();
    return WaitForState(worker, service.Handle(), platform::state::Running, "resumed", "resume",
                        status);
  }
  if (status.currentState == platform::state::Running) {
    if (!scm.controlService(service.Handle(), platform::control::Pause, status)) {
      worker.ConsoleWriteError("\nerror: can't pause service", scm.lastError());
      return -1;
    }
    worker.ConsoleWrite("\nwaiting service to pause...");
    worker.EnableConsoleButton();
    return WaitForState(worker, service.Handle(), platform::state::Paused, "paused.", "pause",
                        status);
  }
  worker.ConsoleWrite("\nerror: the service is neither running nor paused; no control sent.");
  return -1;
}

}  // namespace corvane
