// The catalogue refresh through the Windows provider against a raw loop of the same calls made
// directly, on the same computer in the same run, with extra test services installed so that
// the computer holds about as many services as a Windows installation.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "corvane/catalogue/refresh_catalogue.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_scm.h"
#include "win32_test_support.h"

namespace {

constexpr int ExtraServices = 150;
constexpr int Rounds = 7;

class SilentDialogs : public corvane::Dialogs {
 public:
  int errors = 0;
  corvane::DialogResult messageBox(const std::string&, const std::string&, corvane::DialogIcon,
                                   corvane::DialogButtons) override {
    ++errors;
    return corvane::DialogResult::Ok;
  }
  void showMessage(const std::string&) override { ++errors; }
  std::optional<std::string> openFile(const corvane::FileDialogRequest&) override { return {}; }
  std::optional<std::string> saveFile(const corvane::FileDialogRequest&) override { return {}; }
  std::optional<std::uint32_t> chooseColor(std::uint32_t) override { return {}; }
  std::optional<corvane::FontChoice> chooseFont(const corvane::FontChoice&) override { return {}; }
};

// What the refresh asks of the platform, called directly: the group order list, the enumeration
// in 36000-byte answers, and per service open, configuration, status and description.
std::size_t rawRefresh(SC_HANDLE manager) {
  static std::uint64_t enumBuffer[36000 / 8];
  static std::uint64_t configBuffer[8192 / 8];
  static BYTE valueBuffer[8192];
  HKEY groups = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder", 0,
                    KEY_READ, &groups) == ERROR_SUCCESS) {
    DWORD size = sizeof(valueBuffer);
    RegQueryValueExW(groups, L"List", nullptr, nullptr, valueBuffer, &size);
    RegCloseKey(groups);
  }
  std::size_t services = 0;
  DWORD resume = 0;
  for (;;) {
    DWORD needed = 0;
    DWORD returned = 0;
    auto* entries = reinterpret_cast<ENUM_SERVICE_STATUSW*>(enumBuffer);
    const BOOL done =
        EnumServicesStatusW(manager, SERVICE_DRIVER | SERVICE_WIN32, SERVICE_STATE_ALL, entries,
                            sizeof(enumBuffer), &needed, &returned, &resume);
    for (DWORD i = 0; i < returned; ++i, ++services) {
      const SC_HANDLE service = OpenServiceW(manager, entries[i].lpServiceName, SERVICE_ALL_ACCESS);
      if (service == nullptr)
        continue;
      DWORD configNeeded = 0;
      QueryServiceConfigW(service, reinterpret_cast<QUERY_SERVICE_CONFIGW*>(configBuffer), 4096,
                          &configNeeded);
      SERVICE_STATUS status;
      QueryServiceStatus(service, &status);
      const std::wstring key =
          std::wstring(L"SYSTEM\\CurrentControlSet\\Services\\") + entries[i].lpServiceName;
      HKEY opened = nullptr;
      if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS) {
        DWORD size = sizeof(valueBuffer);
        RegQueryValueExW(opened, L"Description", nullptr, nullptr, valueBuffer, &size);
        RegCloseKey(opened);
      }
      CloseServiceHandle(service);
    }
    // Wine answers a partial list without moving the resume handle: stop rather than loop.
    if (done || GetLastError() != ERROR_MORE_DATA || resume == 0)
      break;
  }
  return services;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

template <class Run>
double milliseconds(Run&& run) {
  const auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main() {
  std::vector<std::unique_ptr<win32_test::TestService>> extra;
  for (int i = 0; i < ExtraServices; ++i) {
    win32_test::TestServiceOptions options;
    options.group = i % 2 == 0 ? "CorvaneBenchGroup" : "";
    options.description = "Benchmark service " + std::to_string(i);
    extra.push_back(std::make_unique<win32_test::TestService>("CorvaneBench", options));
  }

  platform::win32::Win32Scm scm;
  platform::win32::Win32Registry registry;
  SilentDialogs dialogs;
  std::vector<platform::EnumServiceEntry> enumBuffer;
  platform::ServiceConfig configBuffer;
  platform::ServiceStatus statusBuffer;
  const platform::ScHandle handle = scm.openSCManager(platform::access::ScManagerAll);
  const corvane::RefreshContext context{scm,    registry,   dialogs,      handle != 0,
                                        handle, enumBuffer, configBuffer, statusBuffer};
  corvane::Catalogue catalogue;
  const SC_HANDLE manager = reinterpret_cast<SC_HANDLE>(handle);

  std::size_t rawServices = 0;
  std::vector<double> refreshTimes, rawTimes;
  for (int round = 0; round < Rounds; ++round) {
    refreshTimes.push_back(milliseconds([&] { corvane::RefreshCatalogue(context, catalogue); }));
    rawTimes.push_back(milliseconds([&] { rawServices = rawRefresh(manager); }));
  }
  const double refresh = median(refreshTimes);
  const double raw = median(rawTimes);
  std::printf("catalogue refresh of %zu services (%zu by the raw loop), median of %d rounds:\n",
              catalogue.ServiceCount, rawServices, Rounds);
  std::printf("  RefreshCatalogue through Win32Scm/Win32Registry: %8.2f ms\n", refresh);
  std::printf("  raw loop of the same Windows calls:              %8.2f ms\n", raw);
  std::printf("  ratio %.2f (target at most 1.30)%s\n", refresh / raw,
              dialogs.errors > 0 ? ", with error boxes" : "");
  scm.closeServiceHandle(handle);
  return 0;
}
