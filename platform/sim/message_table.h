// The system message table of the simulated computer: the English (United States) texts that the
// platform's message formatting gives for its error numbers.
#pragma once

#include <cstdint>
#include <string>

#include "platform/system_info.h"

namespace platform::sim {

class MessageTable : public SystemMessages {
 public:
  // The text ending in "\r\n", or an empty text for a number the table does not hold.
  std::string messageText(std::uint32_t code) override;
};

}  // namespace platform::sim
