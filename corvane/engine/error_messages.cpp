#include "corvane/engine/error_messages.h"

#include <array>
#include <utility>

namespace corvane {

namespace {
constexpr std::array<std::pair<std::uint32_t, const char*>, 11> FixedMessages{{
    {5, "You might not have sufficient rights."},
    {6, "The specified handle is invalid."},
    {87, "The requested control code is undefined."},
    {123, "The specified service name is invalid."},
    {1051, "The service cannot be stopped because other running services are dependent on it."},
    {1052, "The requested control code is not valid, or it is unacceptable to the service."},
    {1053,
     "The process for the service was started, but it did not call StartServiceCtrlDispatcher, "
     "or the thread that called StartServiceCtrlDispatcher may be blocked in a control handler "
     "function."},
    {1060, "The specified service does not exist."},
    {1061,
     "The requested control code cannot be sent to the service because the state of the service "
     "is SERVICE_STOPPED, SERVICE_START_PENDING, or SERVICE_STOP_PENDING."},
    {1062, "The service has not been started."},
    {1115, "The system is shutting down."},
}};
}  // namespace

std::string ErrorMessageText(std::uint32_t error, platform::SystemMessages& messages) {
  for (const auto& [number, text] : FixedMessages) {
    if (number == error)
      return text;
  }
  std::string text = messages.messageText(error);
  if (!text.empty())
    text.pop_back();
  return text;
}

}  // namespace corvane
