#include "win32_test_support.h"

#include <atomic>

#include "platform/win32/wide_text.h"

using platform::win32::narrow;
using platform::win32::widen;

namespace win32_test {

namespace {

// Stopping a test service is a handful of steps; each waits at most this long.
constexpr DWORD ReportTimeoutMs = 20000;
constexpr int MaxStopSteps = 8;

HANDLE serviceEvent(const std::string& service, const char* suffix) {
  return CreateEventW(nullptr, FALSE, FALSE, widen("Global\\" + service + suffix).c_str());
}

}  // namespace

bool runningUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string programFolder() {
  wchar_t path[MAX_PATH];
  const DWORD chars = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, chars);
  return narrow(folder.substr(0, folder.find_last_of(L'\\') + 1));
}

std::string testServicePath() {
  return programFolder() + "corvane_test_service.exe";
}

std::string uniqueName(const std::string& prefix) {
  static std::atomic<int> counter{0};
  return prefix + "_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
}

TestService::TestService(const std::string& prefix, TestServiceOptions options)
    : name_(uniqueName(prefix)), options_(std::move(options)) {
  if (options_.displayName.empty())
    options_.displayName = name_ + " display";
  reported_ = serviceEvent(name_, ".reported");
  advance_ = serviceEvent(name_, ".advance");
  manager_ = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (manager_ == nullptr)
    return;
  const std::wstring group = widen(options_.group);
  const std::wstring dependencies = widen(options_.dependencies);
  const SC_HANDLE service = CreateServiceW(
      manager_, widen(name_).c_str(), widen(options_.displayName).c_str(), SERVICE_ALL_ACCESS,
      SERVICE_WIN32_OWN_PROCESS, options_.startType, SERVICE_ERROR_NORMAL,
      widen(commandLine()).c_str(), group.empty() ? nullptr : group.c_str(), nullptr,
      dependencies.empty() ? nullptr : dependencies.c_str(), nullptr, nullptr);
  if (service == nullptr)
    return;
  created_ = true;
  if (!options_.description.empty()) {
    std::wstring description = widen(options_.description);
    SERVICE_DESCRIPTIONW info{description.data()};
    ChangeServiceConfig2W(service, SERVICE_CONFIG_DESCRIPTION, &info);
  }
  CloseServiceHandle(service);
}

TestService::~TestService() {
  const SC_HANDLE service =
      created_ ? OpenServiceW(manager_, widen(name_).c_str(), SERVICE_ALL_ACCESS) : nullptr;
  if (service != nullptr) {
    for (int step = 0; step < MaxStopSteps && currentState() != SERVICE_STOPPED; ++step) {
      SERVICE_STATUS status{};
      const DWORD state = currentState();
      if (state == SERVICE_RUNNING || state == SERVICE_PAUSED) {
        ControlService(service, SERVICE_CONTROL_STOP, &status);
      }
      advance();
      WaitForSingleObject(reported_, ReportTimeoutMs / 4);
    }
    DeleteService(service);
    CloseServiceHandle(service);
  }
  if (manager_ != nullptr)
    CloseServiceHandle(manager_);
  if (reported_ != nullptr)
    CloseHandle(reported_);
  if (advance_ != nullptr)
    CloseHandle(advance_);
}

std::string TestService::commandLine() const {
  if (!options_.commandLine.empty())
    return options_.commandLine;
  std::string line = "\"";
  line.append(testServicePath()).append("\" ").append(name_);
  return options_.gated ? line.append(" --gated") : line;
}

bool TestService::waitReported() {
  return WaitForSingleObject(reported_, ReportTimeoutMs) == WAIT_OBJECT_0;
}

bool TestService::waitForState(DWORD state) {
  // Every status the service reports signals the event after the status is set, so a state not
  // reached yet has a report still to come.
  for (int report = 0; report < MaxStopSteps; ++report) {
    if (currentState() == state)
      return true;
    if (!waitReported())
      return false;
  }
  return currentState() == state;
}

void TestService::advance() {
  SetEvent(advance_);
}

DWORD TestService::currentState() {
  const SC_HANDLE service = OpenServiceW(manager_, widen(name_).c_str(), SERVICE_QUERY_STATUS);
  SERVICE_STATUS status{};
  const bool known = service != nullptr && QueryServiceStatus(service, &status);
  if (service != nullptr)
    CloseServiceHandle(service);
  // A service that is gone counts as stopped.
  return known ? status.dwCurrentState : SERVICE_STOPPED;
}

}  // namespace win32_test
