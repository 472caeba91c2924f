// Restarting one service: stop, then start, without dependency trees.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

class batch;

// Acts on RequestServiceName once `serviceName` has been found in the catalogue. 0 when the
// service runs again, -1 on any failure (written to the console).
std::int32_t RestartService(batch& worker, const std::string& serviceName);

}  // namespace corvane
