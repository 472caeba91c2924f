// A table-driven stand-in for the service control manager and the registry: every call can be
// told to fail, and every answer is what the test put in the tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/text.h"
#include "platform/registry.h"
#include "platform/scm.h"
#include "platform/system_info.h"

namespace corvane::testing {

struct FakeService {
  platform::EnumServiceEntry entry;  // names and the status the enumeration reports
  platform::ServiceConfig config;
  platform::ServiceStatus status;  // what a status query answers
  bool failOpen = false;
  bool failConfig = false;
  bool failStatus = false;
};

// A service with the usual fields filled; `dependencies` in the platform's form ("a\0+G\0\0").
inline FakeService makeService(const std::string& name, const std::string& group = "",
                               const std::string& dependencies = "",
                               std::uint32_t type = platform::svctype::OwnProcess,
                               std::uint32_t state = platform::state::Running) {
  FakeService service;
  service.entry.serviceName = name;
  service.entry.displayName = name + " display";
  service.entry.status.serviceType = type;
  service.entry.status.currentState = state;
  service.config.serviceType = type;
  service.config.startType = platform::start::Manual;
  service.config.errorControl = 1;
  service.config.binaryPathName = "C:\\WINDOWS\\system32\\" + name + ".exe";
  service.config.loadOrderGroup = group;
  service.config.dependencies = dependencies;
  service.config.serviceStartName = "LocalSystem";
  service.config.displayName = service.entry.displayName;
  service.status = service.entry.status;
  return service;
}

class FakeScm : public platform::Scm {
 public:
  static constexpr platform::ScHandle ManagerHandle = 7;

  std::vector<FakeService> services;
  // Fails every enumeration call from this one on (counting from 0) with `enumError`.
  std::optional<std::size_t> failEnumerationCall;
  std::uint32_t enumError = platform::err::AccessDenied;

  // What the code asked for.
  std::vector<std::size_t> enumBufferSizes;
  std::vector<std::size_t> configQuerySizes;
  std::set<platform::ScHandle> openHandles;
  std::size_t opens = 0;

  platform::ScHandle openSCManager(std::uint32_t) override { return ManagerHandle; }

  bool enumServicesStatus(platform::ScHandle manager, std::uint32_t types, std::uint32_t states,
                          std::size_t bufferSize, std::vector<platform::EnumServiceEntry>& entries,
                          std::size_t& bytesNeeded, std::uint32_t& resumeIndex) override {
    const std::size_t call = enumBufferSizes.size();
    enumBufferSizes.push_back(bufferSize);
    if (manager != ManagerHandle)
      return fail(platform::err::InvalidHandle);
    if (types != platform::svctype::AllEnumerated || states != platform::state::EnumAll) {
      return fail(platform::err::InvalidParameter);
    }
    if (failEnumerationCall && call >= *failEnumerationCall)
      return fail(enumError);
    std::size_t used = 0;
    std::size_t index = resumeIndex;
    for (; index < services.size(); ++index) {
      const std::size_t bytes = platform::enumEntryBytes(services[index].entry);
      if (used + bytes > bufferSize)
        break;
      used += bytes;
      entries.push_back(services[index].entry);
    }
    if (index == services.size()) {
      resumeIndex = 0;
      bytesNeeded = 0;
      return true;
    }
    resumeIndex = static_cast<std::uint32_t>(index);
    bytesNeeded = 0;
    for (; index < services.size(); ++index)
      bytesNeeded += platform::enumEntryBytes(services[index].entry);
    return fail(platform::err::MoreData);
  }

  platform::ScHandle openService(platform::ScHandle manager, const std::string& name,
                                 std::uint32_t access) override {
    ++opens;
    if (manager != ManagerHandle)
      return failHandle(platform::err::InvalidHandle);
    if (access != platform::access::ServiceAll)
      return failHandle(platform::err::AccessDenied);
    for (std::size_t i = 0; i < services.size(); ++i) {
      if (!common::equalsIgnoreCase(services[i].entry.serviceName, name))
        continue;
      if (services[i].failOpen)
        return failHandle(platform::err::AccessDenied);
      const platform::ScHandle handle = 1000 + i;
      openHandles.insert(handle);
      return handle;
    }
    return failHandle(platform::err::ServiceDoesNotExist);
  }

  bool queryServiceConfig(platform::ScHandle handle, std::size_t bufferSize,
                          platform::ServiceConfig& config, std::size_t& bytesNeeded) override {
    configQuerySizes.push_back(bufferSize);
    FakeService* service = serviceOf(handle);
    if (!service)
      return fail(platform::err::InvalidHandle);
    if (service->failConfig)
      return fail(platform::err::AccessDenied);
    bytesNeeded = platform::configBytes(service->config);
    if (bytesNeeded > bufferSize)
      return fail(platform::err::InsufficientBuffer);
    config = service->config;
    return true;
  }

  bool queryServiceStatus(platform::ScHandle handle, platform::ServiceStatus& status) override {
    FakeService* service = serviceOf(handle);
    if (!service)
      return fail(platform::err::InvalidHandle);
    if (service->failStatus)
      return fail(platform::err::AccessDenied);
    status = service->status;
    return true;
  }

  bool controlService(platform::ScHandle, std::uint32_t, platform::ServiceStatus&) override {
    return fail(platform::err::InvalidServiceControl);
  }
  bool startService(platform::ScHandle) override { return fail(platform::err::AccessDenied); }
  bool changeServiceStartType(platform::ScHandle, std::uint32_t) override {
    return fail(platform::err::AccessDenied);
  }
  bool deleteService(platform::ScHandle) override { return fail(platform::err::AccessDenied); }

  bool closeServiceHandle(platform::ScHandle handle) override {
    return openHandles.erase(handle) == 1 || handle == ManagerHandle;
  }

  std::uint32_t lastError() const override { return lastError_; }

 private:
  bool fail(std::uint32_t error) {
    lastError_ = error;
    return false;
  }
  platform::ScHandle failHandle(std::uint32_t error) {
    lastError_ = error;
    return 0;
  }
  FakeService* serviceOf(platform::ScHandle handle) {
    if (!openHandles.count(handle))
      return nullptr;
    return &services[handle - 1000];
  }

  std::uint32_t lastError_ = 0;
};

// Keys by root and path (without regard to case), each with its values.
class FakeRegistry : public platform::Registry {
 public:
  bool failWrites = false;

  void setValue(platform::RegRoot root, const std::string& path, const std::string& name,
                platform::RegKind kind, const std::string& data) {
    createKey(root, path);
    keys_[keyOf(root, path)][common::toLowerAscii(name)] = platform::RegValue{name, kind, data};
  }
  void setText(platform::RegRoot root, const std::string& path, const std::string& name,
               const std::string& text) {
    setValue(root, path, name, platform::RegKind::String, text + '\0');
  }

  bool keyExists(platform::RegRoot root, const std::string& path) override {
    return keys_.count(keyOf(root, path)) == 1;
  }
  bool createKey(platform::RegRoot root, const std::string& path) override {
    if (failWrites)
      return false;
    keys_[keyOf(root, path)];
    return true;
  }
  std::optional<platform::RegKind> valueKind(platform::RegRoot root, const std::string& path,
                                             const std::string& name) override {
    const platform::RegValue* value = find(root, path, name);
    if (!value)
      return std::nullopt;
    return value->kind;
  }
  std::optional<std::string> readText(platform::RegRoot root, const std::string& path,
                                      const std::string& name) override {
    const platform::RegValue* value = find(root, path, name);
    if (!value || (value->kind != platform::RegKind::String &&
                   value->kind != platform::RegKind::ExpandString)) {
      return std::nullopt;
    }
    return value->data.substr(0, value->data.find('\0'));
  }
  bool writeText(platform::RegRoot root, const std::string& path, const std::string& name,
                 const std::string& text) override {
    if (failWrites || !keyExists(root, path))
      return false;
    setText(root, path, name, text);
    return true;
  }
  std::optional<std::string> readBytes(platform::RegRoot root, const std::string& path,
                                       const std::string& name, std::size_t maxBytes) override {
    const platform::RegValue* value = find(root, path, name);
    if (!value || value->data.size() > maxBytes)
      return std::nullopt;
    return value->data;
  }
  std::vector<std::string> subkeyNames(platform::RegRoot, const std::string&) override {
    return {};
  }
  std::vector<platform::RegValue> values(platform::RegRoot root, const std::string& path) override {
    std::vector<platform::RegValue> result;
    const auto key = keys_.find(keyOf(root, path));
    if (key != keys_.end()) {
      for (const auto& [name, value] : key->second)
        result.push_back(value);
    }
    return result;
  }
  bool deleteKeyTree(platform::RegRoot root, const std::string& path) override {
    return keys_.erase(keyOf(root, path)) == 1;
  }

 private:
  static std::string keyOf(platform::RegRoot root, const std::string& path) {
    return (root == platform::RegRoot::LocalMachine ? "HKLM\\" : "HKCU\\") +
           common::toLowerAscii(path);
  }
  const platform::RegValue* find(platform::RegRoot root, const std::string& path,
                                 const std::string& name) {
    const auto key = keys_.find(keyOf(root, path));
    if (key == keys_.end())
      return nullptr;
    const auto value = key->second.find(common::toLowerAscii(name));
    return value == key->second.end() ? nullptr : &value->second;
  }

  std::map<std::string, std::map<std::string, platform::RegValue>> keys_;
};

class FakeSystemInfo : public platform::SystemInfo {
 public:
  platform::OsVersion answer;
  platform::OsVersion version() override { return answer; }
};

}  // namespace corvane::testing
