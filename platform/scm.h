// The service control manager, as the program uses it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform {

struct ServiceStatus {
  std::uint32_t serviceType = 0;
  std::uint32_t currentState = 0;
  std::uint32_t controlsAccepted = 0;
  std::uint32_t win32ExitCode = 0;
  std::uint32_t serviceSpecificExitCode = 0;
  std::uint32_t checkPoint = 0;
  std::uint32_t waitHint = 0;
};

struct EnumServiceEntry {
  std::string serviceName;
  std::string displayName;
  ServiceStatus status;
};

struct ServiceConfig {
  std::uint32_t serviceType = 0;
  std::uint32_t startType = 0;
  std::uint32_t errorControl = 0;
  std::string binaryPathName;
  std::string loadOrderGroup;
  std::uint32_t tagId = 0;
  // A run of zero-terminated names ended by an empty one ("a\0+Group\0\0"); empty when the
  // service depends on nothing. A name beginning with '+' is a load-order group.
  std::string dependencies;
  std::string serviceStartName;
  std::string displayName;
};

// Bytes an entry or a configuration occupies in the platform's answer buffer (fixed part plus
// every text with its terminator), so that buffer limits behave as the platform's do.
std::size_t enumEntryBytes(const EnumServiceEntry& entry);
std::size_t configBytes(const ServiceConfig& config);

// Every call reports failure through its result; lastError() then holds the platform's number.
// Texts are UTF-8.
class Scm {
 public:
  virtual ~Scm() = default;

  // 0 on failure (5: access denied).
  virtual ScHandle openSCManager(std::uint32_t access) = 0;

  // Appends to `entries` the services of the given types and states, from `resumeIndex` on, that
  // fit in `bufferSize` bytes. When some do not fit: false, last error 234, `resumeIndex` moved past
  // the appended ones and `bytesNeeded` the size of the rest. When all fit: true, `resumeIndex` 0.
  virtual bool enumServicesStatus(ScHandle manager, std::uint32_t types, std::uint32_t states,
                                  std::size_t bufferSize, std::vector<EnumServiceEntry>& entries,
                                  std::size_t& bytesNeeded, std::uint32_t& resumeIndex) = 0;

  // 0 on failure (1060 no such service, 123 invalid name, 6 bad manager handle).
  virtual ScHandle openService(ScHandle manager, const std::string& serviceName,
                               std::uint32_t access) = 0;

  // Fails with 122 and `bytesNeeded` when the configuration does not fit in `bufferSize`.
  virtual bool queryServiceConfig(ScHandle service, std::size_t bufferSize, ServiceConfig& config,
                                  std::size_t& bytesNeeded) = 0;

  virtual bool queryServiceStatus(ScHandle service, ServiceStatus& status) = 0;

  // control::Stop, Pause or Continue. On success and on the failures 1051, 1052 and 1061 the
  // status is filled with the service's current status.
  virtual bool controlService(ScHandle service, std::uint32_t control, ServiceStatus& status) = 0;

  // No arguments. 1056 already running, 1058 disabled, 1068 a dependency failed to start.
  virtual bool startService(ScHandle service) = 0;

  // ChangeServiceConfig with type, error control and every text left unchanged.
  virtual bool changeServiceStartType(ScHandle service, std::uint32_t startType) = 0;

  // Marks the service for deletion; it is removed when its last handle is closed.
  virtual bool deleteService(ScHandle service) = 0;

  virtual bool closeServiceHandle(ScHandle handle) = 0;

  virtual std::uint32_t lastError() const = 0;
};

}  // namespace platform
