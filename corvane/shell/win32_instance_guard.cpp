#ifdef _WIN32

#include "corvane/shell/win32_instance_guard.h"

#include <utility>

namespace corvane {

Win32InstanceGuard::Win32InstanceGuard(std::string semaphoreName, std::string windowTitle)
    : semaphoreName_(std::move(semaphoreName)), windowTitle_(std::move(windowTitle)) {}

InstanceGuard::Role Win32InstanceGuard::acquire() {
  semaphore_.emplace(semaphoreName_);
  return semaphore_->secondInstance() ? Role::Second : Role::First;
}

bool Win32InstanceGuard::bringFirstForward() {
  return platform::win32::activateFirstInstance(platform::win32::MainWindowClass, windowTitle_);
}

}  // namespace corvane

#endif
