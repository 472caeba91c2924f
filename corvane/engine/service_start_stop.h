// Starting a service with, first, everything it depends on; stopping one with, first, everything
// that depends on it. Both run on the worker and narrate every step on the console.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

class batch;

// 0 when the service is (or already was) running, -1 on any failure. `topLevel` is true for the
// caller's service and only changes the wording of the lines.
std::int32_t StartWithDependencies(batch& worker, const std::string& serviceName, bool topLevel);

// 0 when the service is (or already was) stopped, -1 on any failure.
std::int32_t StopWithDependents(batch& worker, const std::string& serviceName, bool topLevel);

}  // namespace corvane
