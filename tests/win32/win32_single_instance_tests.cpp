// The single-instance rule on Windows: the named semaphore tells the second instance, which
// brings the first one's main window forward or says that Corvane is already running.
#include <gtest/gtest.h>

#include <windows.h>

#include "corvane/shell/win32_instance_guard.h"
#include "platform/win32/named_semaphore_guard.h"
#include "platform/win32/wide_text.h"
#include "support/scripted_dialogs.h"
#include "win32_test_support.h"

namespace {

using corvane::InstanceGuard;
using corvane::StartupOutcome;
using corvane::Win32InstanceGuard;
using platform::win32::NamedSemaphoreGuard;
using platform::win32::widen;

// A top-level window of the main window's class with the given title, minimised.
class MinimisedMainWindow {
 public:
  explicit MinimisedMainWindow(const std::string& title) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TMainForm";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, L"TMainForm", widen(title).c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 300,
                              200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window_ != nullptr)
      ShowWindow(window_, SW_SHOWMINIMIZED);
  }
  ~MinimisedMainWindow() {
    if (window_ != nullptr)
      DestroyWindow(window_);
  }
  HWND get() const { return window_; }

 private:
  HWND window_ = nullptr;
};

TEST(Win32SingleInstance, TheSemaphoreHasTheProgramsName) {
  EXPECT_STREQ(platform::win32::CorvaneSemaphoreName, "CorvaneSemaphore");
  EXPECT_STREQ(platform::win32::MainWindowClass, "TMainForm");
  EXPECT_STREQ(platform::win32::MainWindowTitle, "Corvane");
}

TEST(Win32SingleInstance, ASecondAcquisitionReportsTheSecondInstanceUntilTheFirstEnds) {
  const std::string name = win32_test::uniqueName("CorvaneSemaphoreTest");
  {
    const NamedSemaphoreGuard first(name);
    EXPECT_FALSE(first.secondInstance());
    const NamedSemaphoreGuard second(name);
    EXPECT_TRUE(second.secondInstance());
  }
  const NamedSemaphoreGuard afterwards(name);
  EXPECT_FALSE(afterwards.secondInstance());
}

TEST(Win32SingleInstance, ASecondStartBringsTheMinimisedFirstWindowForward) {
  const std::string semaphore = win32_test::uniqueName("CorvaneSemaphoreTest");
  const std::string title = win32_test::uniqueName("Corvane");
  const MinimisedMainWindow window(title);
  ASSERT_NE(window.get(), nullptr);
  ASSERT_TRUE(IsIconic(window.get()));
  Win32InstanceGuard first(semaphore, title);
  ASSERT_EQ(first.acquire(), InstanceGuard::Role::First);

  Win32InstanceGuard second(semaphore, title);
  corvane::testing::ScriptedDialogs dialogs;
  EXPECT_EQ(corvane::EnsureSingleInstance(second, dialogs), StartupOutcome::Terminate);
  EXPECT_TRUE(dialogs.asked.empty());
  EXPECT_FALSE(IsIconic(window.get()));
}

TEST(Win32SingleInstance, ASecondStartWithoutTheFirstWindowSaysCorvaneIsRunning) {
  const std::string semaphore = win32_test::uniqueName("CorvaneSemaphoreTest");
  const std::string title = win32_test::uniqueName("Corvane");
  Win32InstanceGuard first(semaphore, title);
  corvane::testing::ScriptedDialogs dialogs;
  ASSERT_EQ(corvane::EnsureSingleInstance(first, dialogs), StartupOutcome::GoOn);

  Win32InstanceGuard second(semaphore, title);
  EXPECT_EQ(corvane::EnsureSingleInstance(second, dialogs), StartupOutcome::Terminate);
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].text, "Corvane is already running !");
}

}  // namespace
