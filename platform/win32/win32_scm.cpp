#include "platform/win32/win32_scm.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

SC_HANDLE toHandle(ScHandle handle) {
  return reinterpret_cast<SC_HANDLE>(handle);
}
ScHandle fromHandle(SC_HANDLE handle) {
  return reinterpret_cast<ScHandle>(handle);
}

DWORD clampedSize(std::size_t bytes) {
  return static_cast<DWORD>(std::min<std::size_t>(bytes, MAXDWORD));
}

ServiceStatus statusOf(const SERVICE_STATUS& status) {
  ServiceStatus result;
  result.serviceType = status.dwServiceType;
  result.currentState = status.dwCurrentState;
  result.controlsAccepted = status.dwControlsAccepted;
  result.win32ExitCode = status.dwWin32ExitCode;
  result.serviceSpecificExitCode = status.dwServiceSpecificExitCode;
  result.checkPoint = status.dwCheckPoint;
  result.waitHint = status.dwWaitHint;
  return result;
}

std::string text(const wchar_t* wide) {
  return wide != nullptr ? narrow(wide) : std::string();
}

// "a\0b\0\0" in UTF-8, or empty when the list holds no name.
std::string dependencyList(const wchar_t* names) {
  std::string list;
  if (names == nullptr)
    return list;
  for (const wchar_t* name = names; *name != L'\0'; name += wcslen(name) + 1) {
    list += narrow(name);
    list += '\0';
  }
  if (!list.empty())
    list += '\0';
  return list;
}

EnumServiceEntry entryOf(const ENUM_SERVICE_STATUSW& entry) {
  return {text(entry.lpServiceName), text(entry.lpDisplayName), statusOf(entry.ServiceStatus)};
}

// Bytes of one entry in the wide-character answer: the record and both texts.
std::size_t wideEntryBytes(const EnumServiceEntry& entry) {
  return sizeof(ENUM_SERVICE_STATUSW) +
         (widen(entry.serviceName).size() + widen(entry.displayName).size() + 2) * sizeof(wchar_t);
}

}  // namespace

void* Win32Scm::answerBuffer(std::size_t bytes) {
  const std::size_t words = std::max<std::size_t>(1, (bytes + 7) / 8);
  if (buffer_.size() < words)
    buffer_.resize(words);
  return buffer_.data();
}

bool Win32Scm::result(bool succeeded) {
  lastError_ = succeeded ? 0 : GetLastError();
  return succeeded;
}

ScHandle Win32Scm::openSCManager(std::uint32_t access) {
  const SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, access);
  result(manager != nullptr);
  return fromHandle(manager);
}

bool Win32Scm::enumServicesStatus(ScHandle manager, std::uint32_t types, std::uint32_t states,
                                  std::size_t bufferSize, std::vector<EnumServiceEntry>& entries,
                                  std::size_t& bytesNeeded, std::uint32_t& resumeIndex) {
  if (resumeIgnored_) {
    return enumerateByIndex(manager, types, states, bufferSize, entries, bytesNeeded, resumeIndex);
  }
  const DWORD size = clampedSize(bufferSize);
  auto* answer = static_cast<ENUM_SERVICE_STATUSW*>(answerBuffer(size));
  DWORD needed = 0;
  DWORD returned = 0;
  DWORD resume = resumeIndex;
  const bool succeeded = EnumServicesStatusW(toHandle(manager), types, states, answer, size,
                                             &needed, &returned, &resume) != FALSE;
  const DWORD error = succeeded ? 0 : GetLastError();
  if (error == ERROR_MORE_DATA && returned > 0 && resume == resumeIndex) {
    resumeIgnored_ = true;
    return enumerateByIndex(manager, types, states, bufferSize, entries, bytesNeeded, resumeIndex);
  }
  if (succeeded || error == ERROR_MORE_DATA) {
    for (DWORD i = 0; i < returned; ++i)
      entries.push_back(entryOf(answer[i]));
    bytesNeeded = succeeded ? 0 : needed;
    resumeIndex = succeeded ? 0 : resume;
  }
  lastError_ = error;
  return succeeded;
}

bool Win32Scm::enumerateWhole(ScHandle manager, std::uint32_t types, std::uint32_t states,
                              std::vector<EnumServiceEntry>& all) {
  DWORD size = 0x10000;
  for (int attempt = 0; attempt < 8; ++attempt) {
    auto* answer = static_cast<ENUM_SERVICE_STATUSW*>(answerBuffer(size));
    DWORD needed = 0;
    DWORD returned = 0;
    DWORD resume = 0;
    if (EnumServicesStatusW(toHandle(manager), types, states, answer, size, &needed, &returned,
                            &resume)) {
      for (DWORD i = 0; i < returned; ++i)
        all.push_back(entryOf(answer[i]));
      return result(true);
    }
    if (!result(false) && lastError_ != ERROR_MORE_DATA)
      return false;
    size = std::max<DWORD>(size * 2, needed);
  }
  return false;
}

bool Win32Scm::enumerateByIndex(ScHandle manager, std::uint32_t types, std::uint32_t states,
                                std::size_t bufferSize, std::vector<EnumServiceEntry>& entries,
                                std::size_t& bytesNeeded, std::uint32_t& resumeIndex) {
  std::vector<EnumServiceEntry> all;
  if (!enumerateWhole(manager, types, states, all))
    return false;
  std::size_t index = std::min<std::size_t>(resumeIndex, all.size());
  std::size_t used = 0;
  while (index < all.size() && used + wideEntryBytes(all[index]) <= bufferSize) {
    used += wideEntryBytes(all[index]);
    entries.push_back(std::move(all[index++]));
  }
  bytesNeeded = 0;
  for (std::size_t rest = index; rest < all.size(); ++rest)
    bytesNeeded += wideEntryBytes(all[rest]);
  resumeIndex = index < all.size() ? static_cast<std::uint32_t>(index) : 0;
  lastError_ = index < all.size() ? ERROR_MORE_DATA : 0;
  return index == all.size();
}

ScHandle Win32Scm::openService(ScHandle manager, const std::string& serviceName,
                               std::uint32_t access) {
  const SC_HANDLE service = OpenServiceW(toHandle(manager), widen(serviceName).c_str(), access);
  result(service != nullptr);
  return fromHandle(service);
}

bool Win32Scm::queryServiceConfig(ScHandle service, std::size_t bufferSize, ServiceConfig& config,
                                  std::size_t& bytesNeeded) {
  const DWORD size = clampedSize(bufferSize);
  auto* answer = static_cast<QUERY_SERVICE_CONFIGW*>(answerBuffer(size));
  DWORD needed = 0;
  if (!result(QueryServiceConfigW(toHandle(service), answer, size, &needed) != FALSE)) {
    if (lastError_ == ERROR_INSUFFICIENT_BUFFER)
      bytesNeeded = needed;
    return false;
  }
  config.serviceType = answer->dwServiceType;
  config.startType = answer->dwStartType;
  config.errorControl = answer->dwErrorControl;
  config.binaryPathName = text(answer->lpBinaryPathName);
  config.loadOrderGroup = text(answer->lpLoadOrderGroup);
  config.tagId = answer->dwTagId;
  config.dependencies = dependencyList(answer->lpDependencies);
  config.serviceStartName = text(answer->lpServiceStartName);
  config.displayName = text(answer->lpDisplayName);
  bytesNeeded = 0;
  return true;
}

bool Win32Scm::queryServiceStatus(ScHandle service, ServiceStatus& status) {
  SERVICE_STATUS answer{};
  if (!result(QueryServiceStatus(toHandle(service), &answer) != FALSE))
    return false;
  status = statusOf(answer);
  return true;
}

bool Win32Scm::controlService(ScHandle service, std::uint32_t control, ServiceStatus& status) {
  SERVICE_STATUS answer{};
  const bool succeeded = result(ControlService(toHandle(service), control, &answer) != FALSE);
  if (succeeded || lastError_ == ERROR_DEPENDENT_SERVICES_RUNNING ||
      lastError_ == ERROR_INVALID_SERVICE_CONTROL ||
      lastError_ == ERROR_SERVICE_CANNOT_ACCEPT_CTRL) {
    status = statusOf(answer);
  }
  return succeeded;
}

bool Win32Scm::startService(ScHandle service) {
  return result(StartServiceW(toHandle(service), 0, nullptr) != FALSE);
}

bool Win32Scm::changeServiceStartType(ScHandle service, std::uint32_t startType) {
  return result(ChangeServiceConfigW(toHandle(service), SERVICE_NO_CHANGE, startType,
                                     SERVICE_NO_CHANGE, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr) != FALSE);
}

bool Win32Scm::deleteService(ScHandle service) {
  return result(DeleteService(toHandle(service)) != FALSE);
}

bool Win32Scm::closeServiceHandle(ScHandle handle) {
  return result(CloseServiceHandle(toHandle(handle)) != FALSE);
}

std::uint32_t Win32Scm::lastError() const {
  return lastError_;
}

}  // namespace platform::win32
