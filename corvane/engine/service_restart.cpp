#include "corvane/engine/service_restart.h"

#include <algorithm>

#include "common/text.h"
#include "corvane/engine/Thread_batch.h"
#include "corvane/engine/service_handle.h"

namespace corvane {

namespace {

constexpr std::uint32_t FirstPollDelay = 100;

struct WaitClock {
  std::uint32_t start = 0;
  std::uint32_t checkPoint = 0;
};

// Waits until the service reaches `target`: the progress bar limits the whole wait, the wait
// hint (without a lower bound) the time without a new check point.
bool WaitForState(batch& worker, platform::ScHandle service, std::uint32_t target,
                  platform::ServiceStatus& status, WaitClock clock) {
  platform::Scm& scm = worker.Context().scm;
  platform::Clock& time = worker.Context().clock;
  RequestState& request = worker.Request();
  while (status.currentState != target) {
    if (worker.AdvanceConsoleProgress(ProgressStep) > 100) {
      worker.ConsoleWrite("\nservice pending timed out.");
      return false;
    }
    request.PollInterval = std::clamp(status.waitHint / 10, MinPollInterval, MaxPollInterval);
    time.sleep(request.PollInterval);
    if (!scm.queryServiceStatus(service, status)) {
      worker.ConsoleWriteError("\nerror querying status (1)", scm.lastError());
      worker.ConsoleWrite("\nservice state not changed");
      return false;
    }
    if (status.checkPoint > clock.checkPoint) {
      clock = {time.tickCount(), status.checkPoint};
      continue;
    }
    if (time.tickCount() - clock.start > status.waitHint) {
      if (status.currentState == target)
        return true;
      worker.ConsoleWrite("\nservice did not respond in a timely fashion.");
      return false;
    }
  }
  return true;
}

// The line of a step, the console's button enabled and the first pause before a wait.
WaitClock BeginWait(batch& worker, const std::string& line, const platform::ServiceStatus& status) {
  worker.ConsoleWrite(line);
  worker.EnableConsoleButton();
  platform::Clock& time = worker.Context().clock;
  time.sleep(FirstPollDelay);
  return {time.tickCount(), status.checkPoint};
}

}  // namespace

std::int32_t RestartService(batch& worker, const std::string& serviceName) {
  platform::Scm& scm = worker.Context().scm;
  RequestState& request = worker.Request();
  const Catalogue& catalogue = worker.Services();
  std::string display;
  bool found = false;
  for (std::size_t i = 0; i < catalogue.ServiceCount && !found; ++i) {
    if (common::equalsIgnoreCase(catalogue.ServiceTable[i].ServiceName, serviceName)) {
      display = catalogue.ServiceTable[i].DisplayName;
      found = true;
    }
  }
  if (!found) {
    worker.ConsoleWriteError("\nerror: can't find service", scm.lastError());
    return -1;
  }
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
  if (!scm.controlService(service.Handle(), platform::control::Stop, status)) {
    worker.ConsoleWriteError("\nerror: can't stop service", scm.lastError());
    return -1;
  }
  WaitClock clock = BeginWait(worker, "\nstopping: " + display + " ...", status);
  if (!WaitForState(worker, service.Handle(), platform::state::Stopped, status, clock))
    return -1;

  worker.ConsoleWrite("\nservice stopped; restarting...");
  worker.Context().clock.sleep(MinPollInterval);
  if (!scm.queryServiceStatus(service.Handle(), status)) {
    worker.ConsoleWriteError("\nerror querying status", scm.lastError());
    worker.ConsoleWrite("\nservice state not changed");
    return -1;
  }
  if (!scm.startService(service.Handle())) {
    worker.ConsoleWriteError("\nerror: can't restart service", scm.lastError());
    return -1;
  }
  clock = BeginWait(worker, "\nstarting: " + display + " ...", status);
  if (!WaitForState(worker, service.Handle(), platform::state::Running, status, clock))
    return -1;
  worker.ConsoleWrite("\nservice successfully restarted");
  return 0;
}

}  // namespace corvane
