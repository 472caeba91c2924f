// The message ConsoleWriteError gives an error number.
#pragma once

#include <cstdint>
#include <string>

#include "platform/system_info.h"

namespace corvane {

// The fixed text for the numbers the worker meets most; for any other number the system's text
// without its last character.
std::string ErrorMessageText(std::uint32_t error, platform::SystemMessages& messages);

}  // namespace corvane
