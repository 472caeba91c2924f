// Start-type changes: the whole request for codes 0 to 4, and the step of the combined requests.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

class batch;

// The word of a start type in "\nsetting starttype: " lines.
std::string StartTypeWord(std::uint32_t startType);

// Request codes 0 to 4 up to the closing of the service handle; the caller then refreshes the
// catalogue and ends quietly. Failures are shown in boxes and on the console.
void ChangeStartTypeRequest(batch& worker, std::uint32_t startType);

// The start-type step of ReqAutoAndStart, ReqManualAndStop and ReqManualAndStart, on the
// request's connection. Failures are shown in boxes only; the request goes on in every case.
void CombinedStartTypeStep(batch& worker, std::uint32_t startType);

}  // namespace corvane
