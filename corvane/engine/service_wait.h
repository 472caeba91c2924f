// The wait of a start or a stop for a service to leave its pending state, with the check-point and
// wait-hint rules.
#pragma once

#include <cstdint>
#include <string>

#include "platform/scm.h"

namespace corvane {

class batch;

struct PendingWaitTexts {
  std::string pendingTimedOut;  // the progress bar filled up
  std::string queryFailed;
  std::string noResponse;  // no progress within the wait hint
};

enum class PendingWaitResult {
  Settled,    // the state left `pending`; `status` holds the final status, to be judged
  Succeeded,  // no progress in time, but the service is in the target state
  Failed,     // reported on the console
};

PendingWaitResult WaitWhilePending(batch& worker, platform::ScHandle service, std::uint32_t pending,
                                   std::uint32_t target, const PendingWaitTexts& texts,
                                   platform::ServiceStatus& status);

}  // namespace corvane
