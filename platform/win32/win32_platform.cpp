#include "platform/win32/win32_platform.h"

namespace platform::win32 {

std::unique_ptr<Platform> openWindowsPlatform() {
  return std::make_unique<Win32Platform>();
}

}  // namespace platform::win32
