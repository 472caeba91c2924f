// What the tests of the Windows provider share: Wine detection, the test service registered
// under a unique name for the length of a test, and folders.
#pragma once

#include <windows.h>

#include <string>

namespace win32_test {

// Wine's ntdll exports wine_get_version; Windows' does not.
bool runningUnderWine();

// The folder of the test program, with a trailing backslash.
std::string programFolder();
std::string testServicePath();

// A name no other test, run or leftover service uses: prefix, process id and a counter.
std::string uniqueName(const std::string& prefix);

struct TestServiceOptions {
  std::string displayName;
  std::string group;
  std::string dependencies;  // "a\0b\0\0", empty for none
  std::string description;
  DWORD startType = SERVICE_DEMAND_START;
  // The service waits in each pending state until advance() is called.
  bool gated = false;
  // Registered instead of the test service's own command line when not empty.
  std::string commandLine;
};

// The test service, created with CreateService and deleted again (stopped first) when the object
// ends, also when the test fails. It keeps no handle of the service open in between, so that a
// deletion by the test takes effect once the test's own handles are closed.
class TestService {
 public:
  explicit TestService(const std::string& prefix, TestServiceOptions options = {});
  ~TestService();
  TestService(const TestService&) = delete;
  TestService& operator=(const TestService&) = delete;

  bool created() const { return created_; }
  const std::string& name() const { return name_; }
  const TestServiceOptions& options() const { return options_; }
  std::string commandLine() const;

  // Waits until the service has reported its next status; false after a generous time-out
  // (the service is then broken, not slow).
  bool waitReported();
  // Waits until a service that is not gated has reached the state.
  bool waitForState(DWORD state);
  // Lets a gated service leave its current pending state.
  void advance();
  DWORD currentState();
  // Set after every status the service reports.
  HANDLE reportedEvent() const { return reported_; }

 private:
  std::string name_;
  TestServiceOptions options_;
  SC_HANDLE manager_ = nullptr;
  bool created_ = false;
  HANDLE reported_ = nullptr;
  HANDLE advance_ = nullptr;
};

}  // namespace win32_test

// Skips the current test when it runs under Wine, naming what Wine lacks.
#define SKIP_UNDER_WINE(reason)             \
  do {                                      \
    if (win32_test::runningUnderWine())     \
      GTEST_SKIP() << "Wine: " << (reason); \
  } while (false)
