// The single-instance rule on Windows: the named semaphore "CorvaneSemaphore" and the main
// window of class "TMainForm" titled "Corvane".
#pragma once

#ifdef _WIN32

#include <optional>
#include <string>

#include "corvane/shell/single_instance.h"
#include "platform/win32/named_semaphore_guard.h"

namespace corvane {

class Win32InstanceGuard : public InstanceGuard {
 public:
  explicit Win32InstanceGuard(std::string semaphoreName = platform::win32::CorvaneSemaphoreName,
                              std::string windowTitle = platform::win32::MainWindowTitle);
  Role acquire() override;
  bool bringFirstForward() override;

 private:
  std::string semaphoreName_;
  std::string windowTitle_;
  // Open from acquire() until the guard ends.
  std::optional<platform::win32::NamedSemaphoreGuard> semaphore_;
};

}  // namespace corvane

#endif
