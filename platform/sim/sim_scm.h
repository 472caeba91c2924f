// The service control manager of the simulated computer. Its database is the HKLM hive, read live:
// a key under SYSTEM\CurrentControlSet\Services with a Type value is a service. Run states follow
// the services' behaviours (services.ini) as time passes on the clock; they are computed from tick
// counts when asked, so nothing runs in the background.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/scm.h"
#include "platform/sim/registry_tree.h"
#include "platform/sim/sim_service_behaviour.h"

namespace platform::sim {

// What the owner of the computer is told, so that it can write the change back.
struct ScmChangeListener {
  // A start type, a delete mark or a removed service key. False when the change could not be
  // kept: a start type or delete mark is then taken back and the call fails with 1016.
  std::function<bool()> registryChanged;
  // The state a service's last control leads to (stateWord), for services.ini.
  std::function<void(const std::string& serviceName, std::uint32_t lastingState)> runStateChanged;
  std::function<void(const std::string& serviceName)> serviceRemoved;
};

class SimScm : public Scm {
 public:
  // `hklm` is the root of the local machine's hive and `hklmLock` guards it for everyone who
  // uses it; they and `clock` outlive the manager.
  SimScm(RegistryKey& hklm, std::recursive_mutex& hklmLock, Clock& clock,
         ServiceBehaviours behaviours, ScmChangeListener listener = {});

  ScHandle openSCManager(std::uint32_t access) override;
  bool enumServicesStatus(ScHandle manager, std::uint32_t types, std::uint32_t states,
                          std::size_t bufferSize, std::vector<EnumServiceEntry>& entries,
                          std::size_t& bytesNeeded, std::uint32_t& resumeIndex) override;
  ScHandle openService(ScHandle manager, const std::string& serviceName,
                       std::uint32_t access) override;
  bool queryServiceConfig(ScHandle service, std::size_t bufferSize, ServiceConfig& config,
                          std::size_t& bytesNeeded) override;
  bool queryServiceStatus(ScHandle service, ServiceStatus& status) override;
  bool controlService(ScHandle service, std::uint32_t control, ServiceStatus& status) override;
  bool startService(ScHandle service) override;
  bool changeServiceStartType(ScHandle service, std::uint32_t startType) override;
  bool deleteService(ScHandle service) override;
  bool closeServiceHandle(ScHandle handle) override;
  std::uint32_t lastError() const override;

 private:
  struct Handle {
    bool manager = false;
    std::string serviceName;  // lower case
    std::uint32_t access = 0;
  };

  // The run of one service. While a start waits for its dependencies, `begin` lies ahead.
  struct Run {
    std::uint32_t state = state::Stopped;
    std::int64_t begin = 0;                // when the pending phase began, on the millisecond count
    std::optional<std::int64_t> idleExit;  // when a running `exits` service stops by itself
    std::uint32_t exitCode = 0;
  };

  std::int64_t now();
  bool fail(std::uint32_t error);
  ScHandle failHandle(std::uint32_t error);
  bool keepRegistryChange();
  // The key of the service an open handle refers to, when the handle has the access; null (and
  // the last error) otherwise.
  RegistryKey* serviceOf(ScHandle handle, std::uint32_t neededAccess, std::string& lowerName);

  RegistryKey* servicesKey() const;
  RegistryKey* serviceKey(const std::string& lowerName) const;
  std::vector<RegistryKey*> allServiceKeys() const;
  static bool markedForDelete(const RegistryKey& key);

  const ServiceBehaviour& behaviour(const std::string& lowerName) const;
  Run& run(const std::string& lowerName);
  Run& settled(const std::string& lowerName);
  ServiceStatus statusOf(const RegistryKey& key, const std::string& lowerName);
  std::uint32_t lastingState(const std::string& lowerName);
  void reportRunState(const std::string& lowerName);

  bool hasActiveDependents(const std::string& lowerName);
  // Schedules the start of a stopped service, after its dependencies, from `at` on: the time it
  // will be running. Nothing when it will not come up: with `error` set when it cannot be started
  // at all (disabled, marked, a dependency that will not come up), with `error` untouched when it
  // starts but fails or hangs.
  std::optional<std::int64_t> scheduleStart(const std::string& lowerName, std::int64_t at,
                                            std::vector<std::string>& visiting,
                                            std::uint32_t& error);
  std::optional<std::int64_t> bringUp(const std::string& lowerName, std::int64_t at,
                                      std::vector<std::string>& visiting);
  std::optional<std::int64_t> bringUpGroup(const std::string& group, std::int64_t at,
                                           std::vector<std::string>& visiting);
  bool removeIfDeleted(const std::string& lowerName);  // true when it was removed
  void removeDeletedServices();

  RegistryKey& hklm_;
  std::recursive_mutex& mutex_;
  Clock& clock_;
  ServiceBehaviours behaviours_;
  ScmChangeListener listener_;
  std::map<std::string, Run> runs_;
  std::map<ScHandle, Handle> handles_;
  ScHandle nextHandle_ = 0x1000;
  std::uint32_t lastTick_ = 0;
  std::int64_t nowMs_ = 0;
};

}  // namespace platform::sim
