#include "corvane/engine/service_wait.h"

#include <algorithm>

#include "corvane/engine/Thread_batch.h"

namespace corvane {

namespace {
// A service that reports no wait hint (or a shorter one) gets this long without progress.
constexpr std::uint32_t MinimumWaitHint = 3000;
// The first look at the status after a control.
constexpr std::uint32_t FirstPollDelay = 100;
}  // namespace

PendingWaitResult WaitWhilePending(batch& worker, platform::ScHandle service, std::uint32_t pending,
                                   std::uint32_t target, const PendingWaitTexts& texts,
                                   platform::ServiceStatus& status) {
  platform::Scm& scm = worker.Context().scm;
  platform::Clock& clock = worker.Context().clock;
  RequestState& request = worker.Request();
  const auto query = [&] {
    if (scm.queryServiceStatus(service, status))
      return true;
    worker.ConsoleWriteError(texts.queryFailed, scm.lastError());
    return false;
  };

  if (!query())
    return PendingWaitResult::Failed;
  worker.EnableConsoleButton();
  clock.sleep(FirstPollDelay);
  std::uint32_t waitStart = clock.tickCount();
  std::uint32_t lastCheckPoint = status.checkPoint;

  while (status.currentState == pending) {
    if (worker.AdvanceConsoleProgressInWait() > 100) {
      worker.ConsoleWriteError(texts.pendingTimedOut, status.win32ExitCode);
      return PendingWaitResult::Failed;
    }
    if (!query())
      return PendingWaitResult::Failed;
    request.PollInterval = std::clamp(status.waitHint / 10, MinPollInterval, MaxPollInterval);
    clock.sleep(request.PollInterval);
    if (status.checkPoint > lastCheckPoint) {
      waitStart = clock.tickCount();
      lastCheckPoint = status.checkPoint;
      continue;
    }
    const std::uint32_t waitHint = std::max(status.waitHint, MinimumWaitHint);
    if (clock.tickCount() - waitStart <= waitHint * WaitHintFactor)
      continue;
    if (status.currentState == target)
      return PendingWaitResult::Succeeded;
    worker.ConsoleWriteError(texts.noResponse, status.win32ExitCode);
    return PendingWaitResult::Failed;
  }
  return query() ? PendingWaitResult::Settled : PendingWaitResult::Failed;
}

}  // namespace corvane
