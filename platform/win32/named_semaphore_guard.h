// Corvane's single-instance rule on Windows: a named semaphore marks the first instance, and a
// second one finds the first one's main window by its class and title.
#pragma once

#include <string>

namespace platform::win32 {

inline constexpr const char* CorvaneSemaphoreName = "CorvaneSemaphore";
inline constexpr const char* MainWindowClass = "TMainForm";
inline constexpr const char* MainWindowTitle = "Corvane";

class NamedSemaphoreGuard {
 public:
  // Creates the semaphore with initial and maximum count 1; it stays open until destruction.
  explicit NamedSemaphoreGuard(const std::string& name = CorvaneSemaphoreName);
  ~NamedSemaphoreGuard();
  NamedSemaphoreGuard(const NamedSemaphoreGuard&) = delete;
  NamedSemaphoreGuard& operator=(const NamedSemaphoreGuard&) = delete;

  // True when the semaphore already existed: another instance is running.
  bool secondInstance() const { return secondInstance_; }

 private:
  void* handle_ = nullptr;
  bool secondInstance_ = false;
};

// Restores the first instance's main window when it is minimised and brings it to the
// foreground; false when there is no such window.
bool activateFirstInstance(const std::string& windowClass = MainWindowClass,
                           const std::string& windowTitle = MainWindowTitle);

}  // namespace platform::win32
