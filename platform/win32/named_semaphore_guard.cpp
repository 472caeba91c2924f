#include "platform/win32/named_semaphore_guard.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace platform::win32 {

NamedSemaphoreGuard::NamedSemaphoreGuard(const std::string& name) {
  handle_ = CreateSemaphoreW(nullptr, 1, 1, widen(name).c_str());
  secondInstance_ = handle_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

NamedSemaphoreGuard::~NamedSemaphoreGuard() {
  if (handle_ != nullptr)
    CloseHandle(handle_);
}

bool activateFirstInstance(const std::string& windowClass, const std::string& windowTitle) {
  const HWND window = FindWindowW(widen(windowClass).c_str(), widen(windowTitle).c_str());
  if (window == nullptr)
    return false;
  if (IsIconic(window))
    ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  return true;
}

}  // namespace platform::win32
