// Pausing a running service or resuming a paused one.
#pragma once

#include <cstdint>

namespace corvane {

class batch;

// Acts on RequestServiceName: a paused service is continued, a running one paused. 0 when it
// reached the new state, -1 otherwise (also when the user stopped the wait from the console, and
// when the service is neither running nor paused, which sends no control).
std::int32_t PauseOrResume(batch& worker);

}  // namespace corvane
