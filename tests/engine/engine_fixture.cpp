#include "engine_fixture.h"

#include "common/text.h"
#include "corvane/engine/service_start_stop.h"

namespace corvane::testing {

using namespace platform;
using namespace platform::sim;

void RecordingHost::RefreshCatalogue() {
  events.push_back("refreshCatalogue");
  Catalogue& catalogue = program_.catalogue;
  const ScHandle manager = scm_.openSCManager(access::ScManagerAll);
  std::vector<EnumServiceEntry> entries;
  std::size_t needed = 0;
  std::uint32_t resume = 0;
  while (!scm_.enumServicesStatus(manager, svctype::AllEnumerated, state::EnumAll, 1 << 20, entries,
                                  needed, resume)) {
  }
  catalogue.ServiceTable.resize(std::max(catalogue.ServiceTable.size(), entries.size()));
  catalogue.ServiceCount = entries.size();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    ServiceRecord& record = catalogue.ServiceTable[i];
    record = ServiceRecord{};
    record.ServiceName = entries[i].serviceName;
    record.DisplayName = entries[i].displayName;
    record.State = entries[i].status.currentState;
    const ScHandle service = scm_.openService(manager, record.ServiceName, access::ServiceAll);
    ServiceConfig config;
    std::size_t configNeeded = 0;
    scm_.queryServiceConfig(service, 1 << 16, config, configNeeded);
    scm_.closeServiceHandle(service);
    record.StartType = config.startType;
    for (const std::string_view name : common::split(config.dependencies, '\0')) {
      if (name.empty())
        continue;
      record.Dependencies.push_back(
          name[0] == '+' ? GroupDependencyPrefix + std::string(name.substr(1)) : std::string(name));
    }
    if (record.Dependencies.empty())
      record.Dependencies.push_back(" - none - ");
  }
  for (std::size_t j = 0; j < entries.size(); ++j) {
    ServiceRecord& record = catalogue.ServiceTable[j];
    for (std::size_t i = 0; i < entries.size(); ++i) {
      for (const std::string& dependency : catalogue.ServiceTable[i].Dependencies) {
        if (common::equalsIgnoreCase(dependency, record.ServiceName)) {
          record.Dependents.push_back(catalogue.ServiceTable[i].ServiceName);
          break;
        }
      }
    }
    if (record.Dependents.empty())
      record.Dependents.push_back(" - none - ");
  }
  scm_.closeServiceHandle(manager);
}

void EngineWorld::AddService(const ServiceSpec& spec) {
  RegistryKey& key = hklm.create("SYSTEM\\CurrentControlSet\\Services\\" + spec.name);
  key.setValue({"Type", RegKind::Dword, dwordData(spec.type)});
  key.setValue({"Start", RegKind::Dword, dwordData(spec.startType)});
  key.setValue({"ErrorControl", RegKind::Dword, dwordData(1)});
  key.setValue({"ImagePath", RegKind::ExpandString,
                stringData("%SystemRoot%\\System32\\" + spec.name + ".exe")});
  key.setValue({"DisplayName", RegKind::String,
                stringData(spec.displayName.empty() ? spec.name + " display" : spec.displayName)});
  if (!spec.group.empty())
    key.setValue({"Group", RegKind::String, stringData(spec.group)});
  if (!spec.dependOnService.empty()) {
    key.setValue({"DependOnService", RegKind::MultiString, multiStringData(spec.dependOnService)});
  }
  if (!spec.dependOnGroup.empty()) {
    key.setValue({"DependOnGroup", RegKind::MultiString, multiStringData(spec.dependOnGroup)});
  }
}

ServiceBehaviour& EngineWorld::Behaviour(const std::string& name) {
  EXPECT_EQ(scm_, nullptr) << "behaviours are read when the computer starts";
  return behaviours[common::toLowerAscii(name)];
}

SimScm& EngineWorld::Scm() {
  if (!scm_)
    scm_ = std::make_unique<SimScm>(hklm, hklmLock, clock, behaviours);
  return *scm_;
}

RecordingHost& EngineWorld::host() {
  if (!host_)
    host_ = std::make_unique<RecordingHost>(Scm(), program);
  return *host_;
}

WorkerContext EngineWorld::Context(UiThread& ui) {
  return WorkerContext{Scm(), clock, messages, host(), ui, program, request, WorkerProcesses()};
}

platform::Processes& EngineWorld::WorkerProcesses() {
  if (processes != nullptr)
    return *processes;
  if (!simProcesses_) {
    // The per-user hive is never changed by the worker: its file is never written.
    registry_ = std::make_unique<SimRegistry>(
        hklm, hklmLock, [] {},
        std::filesystem::temp_directory_path() / "corvane-engine-tests-user.reg");
    simProcesses_ = std::make_unique<SimProcesses>(*registry_);
  }
  return *simProcesses_;
}

void EngineWorld::RunRequest(std::int32_t code) {
  request.WorkerIdle = false;
  batch worker(code, Context(inlineUi));
  worker.Resume();
  worker.WaitFor();
}

batch& EngineWorld::Worker(std::int32_t code) {
  if (!worker_)
    worker_ = std::make_unique<batch>(code, Context(inlineUi));
  return *worker_;
}

std::uint32_t EngineWorld::StateOf(const std::string& name) {
  const ScHandle manager = Scm().openSCManager(access::ScManagerAll);
  const ScHandle service = Scm().openService(manager, name, access::ServiceAll);
  ServiceStatus status;
  EXPECT_TRUE(Scm().queryServiceStatus(service, status)) << name;
  Scm().closeServiceHandle(service);
  Scm().closeServiceHandle(manager);
  return status.currentState;
}

std::uint32_t EngineWorld::StartTypeOf(const std::string& name) {
  const RegistryKey* key = hklm.find("SYSTEM\\CurrentControlSet\\Services\\" + name);
  return key ? dwordOfData(key->value("Start")->data) : 0xFFFFFFFF;
}

void EngineWorld::RunService(const std::string& name) {
  const ScHandle manager = Scm().openSCManager(access::ScManagerAll);
  const ScHandle service = Scm().openService(manager, name, access::ServiceAll);
  EXPECT_TRUE(Scm().startService(service)) << name;
  clock.advance(60000);
  Scm().closeServiceHandle(service);
  Scm().closeServiceHandle(manager);
}

void EngineWorld::Prepare() {
  FillCatalogue();
  Worker();
  host().events.clear();
  host().lines.clear();
}

std::int32_t EngineWorld::Start(const std::string& name) {
  Prepare();
  return StartWithDependencies(Worker(), name, true);
}

std::int32_t EngineWorld::Stop(const std::string& name) {
  Prepare();
  return StopWithDependents(Worker(), name, true);
}

}  // namespace corvane::testing
