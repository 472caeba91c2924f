#include "platform/win32/win32_system.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);

}  // namespace

OsVersion Win32SystemInfo::version() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  bool known = false;
  // ntdll's RtlGetVersion exists from Windows 2000 on and is not subject to the manifest rules.
  if (const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    known = rtlGetVersion != nullptr && rtlGetVersion(&info) == 0;
  }
  if (!known)
    known = GetVersionExW(&info) != FALSE;
  OsVersion version;
  if (known) {
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    version.build = info.dwBuildNumber;
    version.ntFamily = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
  }
  return version;
}

std::string Win32Messages::messageText(std::uint32_t code) {
  return systemMessage(code);
}

}  // namespace platform::win32
