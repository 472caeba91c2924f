#include "platform/sim/sim_scm.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/text.h"
#include "platform/sim/registry_tree.h"

using namespace platform;
using namespace platform::sim;

namespace {

struct ServiceSpec {
  std::string name;
  std::uint32_t type = svctype::OwnProcess;
  std::uint32_t startType = start::Manual;
  std::vector<std::string> dependOnService = {};
  std::vector<std::string> dependOnGroup = {};
  std::string group = {};
};

// A small computer: services in an in-memory hive, their behaviours, a virtual clock.
class SimScmTest : public ::testing::Test {
 protected:
  void addService(const ServiceSpec& spec) {
    RegistryKey& key = hklm.create("SYSTEM\\CurrentControlSet\\Services\\" + spec.name);
    key.setValue({"Type", RegKind::Dword, dwordData(spec.type)});
    key.setValue({"Start", RegKind::Dword, dwordData(spec.startType)});
    key.setValue({"ErrorControl", RegKind::Dword, dwordData(1)});
    key.setValue({"ImagePath", RegKind::ExpandString,
                  stringData("%SystemRoot%\\System32\\" + spec.name + ".exe")});
    key.setValue({"DisplayName", RegKind::String, stringData(spec.name + " display")});
    if (!spec.group.empty())
      key.setValue({"Group", RegKind::String, stringData(spec.group)});
    if (!spec.dependOnService.empty())
      key.setValue(
          {"DependOnService", RegKind::MultiString, multiStringData(spec.dependOnService)});
    if (!spec.dependOnGroup.empty())
      key.setValue({"DependOnGroup", RegKind::MultiString, multiStringData(spec.dependOnGroup)});
  }

  ServiceBehaviour& rules(const std::string& name) { return behaviours[name]; }

  SimScm& scm() {
    if (!scm_) {
      ScmChangeListener listener;
      listener.registryChanged = [this] {
        ++registrySaves;
        return registrySaveWorks;
      };
      listener.runStateChanged = [this](const std::string& name, std::uint32_t state) {
        lasting[name] = state;
      };
      listener.serviceRemoved = [this](const std::string& name) { removed.push_back(name); };
      scm_ = std::make_unique<SimScm>(hklm, lock, clock, behaviours, listener);
      manager = scm_->openSCManager(access::ScManagerAll);
    }
    return *scm_;
  }

  ScHandle open(const std::string& name, std::uint32_t access = access::ServiceAll) {
    return scm().openService(manager, name, access);
  }

  ServiceStatus status(const std::string& name) {
    const ScHandle handle = open(name);
    ServiceStatus answer;
    EXPECT_TRUE(scm().queryServiceStatus(handle, answer)) << name;
    scm().closeServiceHandle(handle);
    return answer;
  }

  std::uint32_t stateOf(const std::string& name) { return status(name).currentState; }

  bool start(const std::string& name) {
    const ScHandle handle = open(name);
    const bool started = scm().startService(handle);
    const std::uint32_t error = scm().lastError();
    scm().closeServiceHandle(handle);
    lastError = error;
    return started;
  }

  bool control(const std::string& name, std::uint32_t code, ServiceStatus* answer = nullptr) {
    const ScHandle handle = open(name);
    ServiceStatus ignored;
    const bool sent = scm().controlService(handle, code, answer ? *answer : ignored);
    lastError = scm().lastError();
    scm().closeServiceHandle(handle);
    return sent;
  }

  RegistryKey hklm{"HKEY_LOCAL_MACHINE"};
  std::recursive_mutex lock;
  VirtualClock clock;
  ServiceBehaviours behaviours;
  ScHandle manager = 0;
  std::uint32_t lastError = 0;
  int registrySaves = 0;
  bool registrySaveWorks = true;
  std::map<std::string, std::uint32_t> lasting;
  std::vector<std::string> removed;

 private:
  std::unique_ptr<SimScm> scm_;
};

TEST_F(SimScmTest, StartMovesThroughStartPendingWithEvenlySpreadCheckPoints) {
  addService({"Spooler"});
  ServiceBehaviour& spooler = rules("spooler");
  spooler.startMs = 2000;
  spooler.checkPoints = 3;
  spooler.waitHint = 1500;
  spooler.acceptsPause = true;

  ASSERT_TRUE(start("Spooler"));
  struct Step {
    std::uint32_t advanceMs, state, checkPoint, waitHint;
  };
  const Step steps[] = {{0, state::StartPending, 0, 1500},
                        {499, state::StartPending, 0, 1500},
                        {1, state::StartPending, 1, 1500},
                        {500, state::StartPending, 2, 1500},
                        {500, state::StartPending, 3, 1500},
                        {499, state::StartPending, 3, 1500},
                        {1, state::Running, 0, 0}};
  for (const Step& step : steps) {
    clock.advance(step.advanceMs);
    const ServiceStatus now = status("Spooler");
    EXPECT_EQ(now.currentState, step.state) << clock.tickCount();
    EXPECT_EQ(now.checkPoint, step.checkPoint) << clock.tickCount();
    EXPECT_EQ(now.waitHint, step.waitHint) << clock.tickCount();
  }
  EXPECT_EQ(status("Spooler").controlsAccepted, control::AcceptStop | control::AcceptPauseContinue);
  EXPECT_EQ(lasting["Spooler"], state::Running);
}

TEST_F(SimScmTest, PauseContinueAndStopPassThroughTheirPendingStates) {
  addService({"Browser"});
  ServiceBehaviour& browser = rules("browser");
  browser.state = state::Running;
  browser.acceptsPause = true;
  browser.pauseMs = 300;
  browser.continueMs = 400;
  browser.stopMs = 1000;
  browser.checkPoints = 1;
  browser.waitHint = 700;

  ServiceStatus answer;
  ASSERT_TRUE(control("Browser", control::Pause, &answer));
  EXPECT_EQ(answer.currentState, state::PausePending);
  EXPECT_EQ(answer.controlsAccepted, 0u);
  EXPECT_EQ(answer.waitHint, 700u);
  clock.advance(300);
  EXPECT_EQ(stateOf("Browser"), state::Paused);
  EXPECT_EQ(lasting["Browser"], state::Paused);

  ASSERT_TRUE(control("Browser", control::Continue, &answer));
  EXPECT_EQ(answer.currentState, state::ContinuePending);
  clock.advance(200);
  EXPECT_EQ(status("Browser").checkPoint, 1u);
  clock.advance(200);
  EXPECT_EQ(stateOf("Browser"), state::Running);

  ASSERT_TRUE(control("Browser", control::Stop, &answer));
  EXPECT_EQ(answer.currentState, state::StopPending);
  EXPECT_EQ(lasting["Browser"], state::Stopped);
  clock.advance(999);
  EXPECT_EQ(stateOf("Browser"), state::StopPending);
  clock.advance(1);
  EXPECT_EQ(stateOf("Browser"), state::Stopped);
}

TEST_F(SimScmTest, ServicesWithoutBehaviourStartAndStopAtOnce) {
  addService({"Plain"});
  ASSERT_TRUE(start("Plain"));
  EXPECT_EQ(status("Plain").currentState, state::Running);
  EXPECT_EQ(status("Plain").controlsAccepted, control::AcceptStop);
  ServiceStatus answer;
  ASSERT_TRUE(control("Plain", control::Stop, &answer));
  EXPECT_EQ(answer.currentState, state::Stopped);
}

TEST_F(SimScmTest, OutcomesOfAStart) {
  struct Case {
    const char* name;
    StartOutcome outcome;
    std::uint32_t exitCode;
    std::uint32_t stateAfterStart;  // at StartMs
    std::uint32_t stateLater;       // at twice StartMs
    std::uint32_t exitCodeLater;
    std::uint32_t lastingState;
  };
  const Case cases[] = {
      {"Runs", StartOutcome::Runs, 0, state::Running, state::Running, 0, state::Running},
      {"Fails", StartOutcome::Fails, 1067, state::Stopped, state::Stopped, 1067, state::Stopped},
      {"Exits", StartOutcome::Exits, 0, state::Running, state::Stopped, 0, state::Stopped},
      {"Hangs", StartOutcome::Hangs, 0, state::StartPending, state::StartPending, 0,
       state::StartPending},
  };
  for (const Case& c : cases) {
    addService({c.name});
    ServiceBehaviour& behaviour = rules(common::toLowerAscii(c.name));
    behaviour.startMs = 1000;
    behaviour.checkPoints = 2;
    behaviour.outcome = c.outcome;
    behaviour.exitCode = c.exitCode;
  }
  for (const Case& c : cases)
    ASSERT_TRUE(start(c.name)) << c.name;
  clock.advance(1000);
  for (const Case& c : cases)
    EXPECT_EQ(stateOf(c.name), c.stateAfterStart) << c.name;
  clock.advance(1000);
  for (const Case& c : cases) {
    const ServiceStatus later = status(c.name);
    EXPECT_EQ(later.currentState, c.stateLater) << c.name;
    EXPECT_EQ(later.win32ExitCode, c.exitCodeLater) << c.name;
    EXPECT_EQ(lasting[c.name], c.lastingState) << c.name;
  }
  // A hung start keeps its last check point, so a waiter sees no progress.
  EXPECT_EQ(status("Hangs").checkPoint, 2u);
}

TEST_F(SimScmTest, ErrorNumbersOfControlsAndStarts) {
  addService({"Disabled", svctype::OwnProcess, start::Disabled});
  addService({"Stopped"});
  addService({"NoPause"});
  addService({"NoStop"});
  addService({"Slow"});
  addService({"Needed"});
  addService({"Needing", svctype::OwnProcess, start::Manual, {"Needed"}});
  rules("nopause").state = state::Running;
  rules("nostop").state = state::Running;
  rules("nostop").acceptsStop = false;
  rules("slow").startMs = 5000;
  rules("slow").stopMs = 5000;
  rules("needed").state = state::Running;
  rules("needing").state = state::Running;

  struct Case {
    const char* what;
    std::function<bool()> call;
    std::uint32_t error;
  };
  const std::vector<Case> cases = {
      {"start disabled", [&] { return start("Disabled"); }, err::ServiceDisabled},
      {"start running", [&] { return start("NoPause"); }, err::ServiceAlreadyRunning},
      {"stop stopped", [&] { return control("Stopped", control::Stop); }, err::ServiceNotActive},
      {"pause refused", [&] { return control("NoPause", control::Pause); },
       err::InvalidServiceControl},
      {"stop refused", [&] { return control("NoStop", control::Stop); },
       err::InvalidServiceControl},
      {"stop with dependent", [&] { return control("Needed", control::Stop); },
       err::DependentServicesRunning},
      {"undefined control", [&] { return control("NoPause", 77); }, err::InvalidParameter},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(c.call()) << c.what;
    EXPECT_EQ(lastError, c.error) << c.what;
  }

  ASSERT_TRUE(start("Slow"));
  EXPECT_FALSE(control("Slow", control::Stop));
  EXPECT_EQ(lastError, err::ServiceCannotAcceptControl);
  EXPECT_FALSE(start("Slow"));
  EXPECT_EQ(lastError, err::ServiceAlreadyRunning);
  clock.advance(5000);
  ASSERT_TRUE(control("Slow", control::Stop));
  EXPECT_FALSE(control("Slow", control::Stop));
  EXPECT_EQ(lastError, err::ServiceCannotAcceptControl);

  // The refusals report the service's status as it is.
  ServiceStatus answer;
  EXPECT_FALSE(control("Needed", control::Stop, &answer));
  EXPECT_EQ(answer.currentState, state::Running);
}

TEST_F(SimScmTest, HandlesNamesAndAccess) {
  addService({"Alerter"});
  hklm.create("SYSTEM\\CurrentControlSet\\Services\\NotAService");
  scm();

  EXPECT_EQ(open("Missing"), 0u);
  EXPECT_EQ(scm().lastError(), err::ServiceDoesNotExist);
  EXPECT_EQ(open("NotAService"), 0u);
  EXPECT_EQ(scm().lastError(), err::ServiceDoesNotExist);
  for (const std::string& name : {std::string(), std::string("a\\b"), std::string(300, 'x')}) {
    EXPECT_EQ(open(name), 0u);
    EXPECT_EQ(scm().lastError(), err::InvalidName);
  }
  EXPECT_EQ(scm().openService(12345, "Alerter", access::ServiceAll), 0u);
  EXPECT_EQ(scm().lastError(), err::InvalidHandle);

  const ScHandle byOtherCase = open("aLeRtEr");
  ASSERT_NE(byOtherCase, 0u);
  ServiceStatus answer;
  EXPECT_FALSE(scm().queryServiceStatus(manager, answer));
  EXPECT_EQ(scm().lastError(), err::InvalidHandle);

  const ScHandle deleteOnly = open("Alerter", access::Delete);
  ASSERT_NE(deleteOnly, 0u);
  EXPECT_FALSE(scm().queryServiceStatus(deleteOnly, answer));
  EXPECT_EQ(scm().lastError(), err::AccessDenied);
  EXPECT_FALSE(scm().startService(deleteOnly));
  EXPECT_EQ(scm().lastError(), err::AccessDenied);
  EXPECT_FALSE(scm().changeServiceStartType(deleteOnly, start::Automatic));
  EXPECT_EQ(scm().lastError(), err::AccessDenied);

  EXPECT_TRUE(scm().closeServiceHandle(byOtherCase));
  EXPECT_FALSE(scm().closeServiceHandle(byOtherCase));
  EXPECT_EQ(scm().lastError(), err::InvalidHandle);
  EXPECT_FALSE(scm().queryServiceStatus(byOtherCase, answer));
  EXPECT_EQ(scm().lastError(), err::InvalidHandle);
}

TEST_F(SimScmTest, StartTypeChangesAreCheckedAndWrittenToTheHive) {
  addService({"Svc"});
  addService({"Drv", svctype::KernelDriver});
  const ScHandle svc = open("Svc");
  const ScHandle drv = open("Drv");
  EXPECT_TRUE(scm().changeServiceStartType(svc, start::Disabled));
  EXPECT_EQ(
      dwordOfData(hklm.find("SYSTEM\\CurrentControlSet\\Services\\Svc")->value("Start")->data),
      start::Disabled);
  EXPECT_EQ(registrySaves, 1);
  EXPECT_FALSE(scm().changeServiceStartType(svc, start::Boot));
  EXPECT_EQ(scm().lastError(), err::InvalidParameter);
  EXPECT_FALSE(scm().changeServiceStartType(svc, 5));
  EXPECT_EQ(scm().lastError(), err::InvalidParameter);
  EXPECT_TRUE(scm().changeServiceStartType(drv, start::Boot));

  // A change that cannot be saved is taken back.
  registrySaveWorks = false;
  EXPECT_FALSE(scm().changeServiceStartType(svc, start::Automatic));
  EXPECT_EQ(scm().lastError(), 1016u);
  std::size_t size = 0;
  ServiceConfig config;
  ASSERT_TRUE(scm().queryServiceConfig(svc, 8192, config, size));
  EXPECT_EQ(config.startType, start::Disabled);
}

TEST_F(SimScmTest, StartBringsUpDependenciesDepthFirst) {
  // Top -> Middle -> Bottom, and Top -> group "Net" with one disabled and one good member.
  addService({"Top", svctype::OwnProcess, start::Manual, {"Middle"}, {"Net"}});
  addService({"Middle", svctype::ShareProcess, start::Manual, {"Bottom"}});
  addService({"Bottom"});
  addService({"NetOff", svctype::KernelDriver, start::Disabled, {}, {}, "Net"});
  addService({"NetOn", svctype::KernelDriver, start::Manual, {}, {}, "Net"});
  for (const char* name : {"top", "middle", "bottom", "neton"}) {
    rules(name).startMs = 1000;
    rules(name).checkPoints = 1;
  }

  ASSERT_TRUE(start("Top"));
  struct Expect {
    std::uint32_t at;
    std::uint32_t top, middle, bottom, netOn;
  };
  const Expect timeline[] = {
      {0, state::StartPending, state::StartPending, state::StartPending, state::StartPending},
      {1000, state::StartPending, state::StartPending, state::Running, state::StartPending},
      {2000, state::StartPending, state::Running, state::Running, state::StartPending},
      {3000, state::StartPending, state::Running, state::Running, state::Running},
      {4000, state::Running, state::Running, state::Running, state::Running},
  };
  std::uint32_t elapsed = 0;
  for (const Expect& e : timeline) {
    clock.advance(e.at - elapsed);
    elapsed = e.at;
    if (e.at < 3000) {  // Top's own start begins when its dependencies are up
      EXPECT_EQ(status("Top").checkPoint, 0u) << e.at;
    }
    EXPECT_EQ(stateOf("Top"), e.top) << e.at;
    EXPECT_EQ(stateOf("Middle"), e.middle) << e.at;
    EXPECT_EQ(stateOf("Bottom"), e.bottom) << e.at;
    EXPECT_EQ(stateOf("NetOn"), e.netOn) << e.at;
  }
  EXPECT_EQ(stateOf("NetOff"), state::Stopped);
  EXPECT_EQ(lasting["Bottom"], state::Running);
  EXPECT_EQ(lasting["NetOn"], state::Running);
}

TEST_F(SimScmTest, DependencyThatCannotComeUpFailsTheStartWith1068) {
  struct Case {
    const char* what;
    std::function<void()> arrange;
  };
  const std::vector<Case> cases = {
      {"disabled dependency",
       [&] {
         addService({"Dep", svctype::OwnProcess, start::Disabled});
         addService({"Top", svctype::OwnProcess, start::Manual, {"Dep"}});
       }},
      {"failing dependency",
       [&] {
         addService({"Dep"});
         rules("dep").outcome = StartOutcome::Fails;
         rules("dep").exitCode = 1067;
         addService({"Top", svctype::OwnProcess, start::Manual, {"Dep"}});
       }},
      {"hanging dependency",
       [&] {
         addService({"Dep"});
         rules("dep").outcome = StartOutcome::Hangs;
         addService({"Top", svctype::OwnProcess, start::Manual, {"Dep"}});
       }},
      {"missing dependency",
       [&] {
         addService({"Top", svctype::OwnProcess, start::Manual, {"Gone"}});
       }},
      {"group without a member that comes up",
       [&] {
         addService({"Member", svctype::KernelDriver, start::Disabled, {}, {}, "G"});
         addService({"Top", svctype::OwnProcess, start::Manual, {}, {"G"}});
       }},
      {"empty group",
       [&] {
         addService({"Top", svctype::OwnProcess, start::Manual, {}, {"G"}});
       }},
      {"circle",
       [&] {
         addService({"Dep", svctype::OwnProcess, start::Manual, {"Top"}});
         addService({"Top", svctype::OwnProcess, start::Manual, {"Dep"}});
       }},
  };
  for (const Case& c : cases) {
    // Each case on a computer of its own.
    hklm.removeChild("SYSTEM");
    behaviours.clear();
    c.arrange();
    SimScm scmOfCase(hklm, lock, clock, behaviours);
    const ScHandle managerOfCase = scmOfCase.openSCManager(access::ScManagerAll);
    const ScHandle top = scmOfCase.openService(managerOfCase, "Top", access::ServiceAll);
    EXPECT_FALSE(scmOfCase.startService(top)) << c.what;
    EXPECT_EQ(scmOfCase.lastError(), err::ServiceDependencyFail) << c.what;
    ServiceStatus answer;
    scmOfCase.queryServiceStatus(top, answer);
    EXPECT_EQ(answer.currentState, state::Stopped) << c.what;
  }
}

TEST_F(SimScmTest, StopIsRefusedOnlyWhileADependentIsActive) {
  addService({"Base"});
  addService({"User", svctype::OwnProcess, start::Manual, {"base"}});
  rules("base").state = state::Running;
  rules("user").state = state::Running;
  rules("user").stopMs = 1000;
  EXPECT_FALSE(control("Base", control::Stop));
  EXPECT_EQ(lastError, err::DependentServicesRunning);
  ASSERT_TRUE(control("User", control::Stop));
  EXPECT_FALSE(control("Base", control::Stop));  // stop pending is still active
  clock.advance(1000);
  EXPECT_TRUE(control("Base", control::Stop));
}

TEST_F(SimScmTest, DeletedServiceGoesWhenItsLastHandleCloses) {
  addService({"Old"});
  addService({"Other"});
  scm();
  const ScHandle first = open("Old");
  const ScHandle forDelete = open("Old", access::Delete);
  ASSERT_TRUE(scm().deleteService(forDelete));
  EXPECT_FALSE(scm().deleteService(forDelete));
  EXPECT_EQ(scm().lastError(), err::ServiceMarkedForDelete);
  EXPECT_EQ(open("Old"), 0u);
  EXPECT_EQ(scm().lastError(), err::ServiceMarkedForDelete);
  EXPECT_FALSE(scm().startService(first));
  EXPECT_EQ(scm().lastError(), err::ServiceMarkedForDelete);

  scm().closeServiceHandle(forDelete);
  EXPECT_NE(hklm.find("SYSTEM\\CurrentControlSet\\Services\\Old"), nullptr);
  ServiceStatus answer;
  EXPECT_TRUE(scm().queryServiceStatus(first, answer));
  scm().closeServiceHandle(first);
  EXPECT_EQ(hklm.find("SYSTEM\\CurrentControlSet\\Services\\Old"), nullptr);
  EXPECT_EQ(removed, std::vector<std::string>{"Old"});
  EXPECT_EQ(open("Old"), 0u);
  EXPECT_EQ(scm().lastError(), err::ServiceDoesNotExist);
}

TEST_F(SimScmTest, RunningServiceMarkedForDeleteStaysUntilItStops) {
  addService({"Busy"});
  rules("busy").state = state::Running;
  rules("busy").outcome = StartOutcome::Exits;
  rules("busy").startMs = 1000;
  scm();
  const ScHandle handle = open("Busy");
  ASSERT_TRUE(scm().deleteService(handle));
  scm().closeServiceHandle(handle);
  EXPECT_NE(hklm.find("SYSTEM\\CurrentControlSet\\Services\\Busy"), nullptr);
  clock.advance(1000);  // the idle service stops by itself
  std::vector<EnumServiceEntry> entries;
  std::size_t needed = 0;
  std::uint32_t resume = 0;
  scm().enumServicesStatus(manager, svctype::AllEnumerated, state::EnumAll, 36000, entries, needed,
                           resume);
  EXPECT_TRUE(entries.empty());
  EXPECT_EQ(hklm.find("SYSTEM\\CurrentControlSet\\Services\\Busy"), nullptr);
}

TEST_F(SimScmTest, EnumerationFillsSeveralBuffersInNameOrder) {
  std::vector<std::string> names;
  for (int i = 0; i < 40; ++i) {
    const std::string name = "Svc" + std::to_string(100 + i);
    addService({name, i % 2 ? svctype::ShareProcess : svctype::FileSystemDriver});
    names.push_back(name);
  }
  addService({"Adapter", svctype::Adapter});  // a type outside the ones asked
  hklm.create("SYSTEM\\CurrentControlSet\\Services\\NoType");
  rules("svc105").state = state::Running;

  std::vector<EnumServiceEntry> all;
  std::uint32_t resume = 0;
  int calls = 0;
  const std::size_t bufferSize = 500;
  for (;;) {
    std::vector<EnumServiceEntry> chunk;
    std::size_t needed = 0;
    const bool done = scm().enumServicesStatus(manager, svctype::AllEnumerated, state::EnumAll,
                                               bufferSize, chunk, needed, resume);
    ++calls;
    std::size_t used = 0;
    for (const auto& entry : chunk)
      used += enumEntryBytes(entry);
    EXPECT_LE(used, bufferSize);
    EXPECT_FALSE(chunk.empty());
    std::size_t rest = 0;
    for (std::size_t i = all.size() + chunk.size(); i < names.size(); ++i)
      rest += enumEntryBytes({names[i], names[i] + " display", {}});
    all.insert(all.end(), chunk.begin(), chunk.end());
    if (done) {
      EXPECT_EQ(resume, 0u);
      EXPECT_EQ(needed, 0u);
      break;
    }
    EXPECT_EQ(scm().lastError(), err::MoreData);
    EXPECT_EQ(needed, rest);
    ASSERT_LT(calls, 20);
  }
  EXPECT_GT(calls, 2);
  ASSERT_EQ(all.size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(all[i].serviceName, names[i]);
    EXPECT_EQ(all[i].displayName, names[i] + " display");
  }
  EXPECT_EQ(all[5].status.currentState, state::Running);
  EXPECT_EQ(all[5].status.serviceType, svctype::ShareProcess);

  // Filters by state and by type.
  std::vector<EnumServiceEntry> active;
  std::size_t needed = 0;
  resume = 0;
  ASSERT_TRUE(
      scm().enumServicesStatus(manager, svctype::AllEnumerated, 1, 36000, active, needed, resume));
  ASSERT_EQ(active.size(), 1u);
  EXPECT_EQ(active[0].serviceName, "Svc105");
  std::vector<EnumServiceEntry> drivers;
  ASSERT_TRUE(scm().enumServicesStatus(manager, svctype::FileSystemDriver, state::EnumAll, 36000,
                                       drivers, needed, resume));
  EXPECT_EQ(drivers.size(), 20u);
  EXPECT_FALSE(
      scm().enumServicesStatus(manager, 0, state::EnumAll, 36000, drivers, needed, resume));
  EXPECT_EQ(scm().lastError(), err::InvalidParameter);
}

TEST_F(SimScmTest, ConfigurationListsServiceThenGroupDependenciesAndHonoursTheBuffer) {
  addService(
      {"Web", svctype::ShareProcess, start::Automatic, {"Http", "Tcpip"}, {"NetGroup"}, "Net"});
  addService({"Drv", svctype::KernelDriver, start::Boot});
  const ScHandle web = open("Web");
  ServiceConfig config;
  std::size_t needed = 0;
  ASSERT_TRUE(scm().queryServiceConfig(web, 4096, config, needed));
  EXPECT_EQ(config.dependencies, std::string("Http\0Tcpip\0+NetGroup\0\0", 22));
  EXPECT_EQ(config.serviceType, svctype::ShareProcess);
  EXPECT_EQ(config.startType, start::Automatic);
  EXPECT_EQ(config.errorControl, 1u);
  EXPECT_EQ(config.binaryPathName, "%SystemRoot%\\System32\\Web.exe");
  EXPECT_EQ(config.loadOrderGroup, "Net");
  EXPECT_EQ(config.serviceStartName, "LocalSystem");
  EXPECT_EQ(config.displayName, "Web display");

  const std::size_t size = configBytes(config);
  ServiceConfig small;
  EXPECT_FALSE(scm().queryServiceConfig(web, size - 1, small, needed));
  EXPECT_EQ(scm().lastError(), err::InsufficientBuffer);
  EXPECT_EQ(needed, size);
  EXPECT_TRUE(small.binaryPathName.empty());
  EXPECT_TRUE(scm().queryServiceConfig(web, size, small, needed));

  ServiceConfig driver;
  ASSERT_TRUE(scm().queryServiceConfig(open("Drv"), 4096, driver, needed));
  EXPECT_TRUE(driver.dependencies.empty());
  EXPECT_TRUE(driver.serviceStartName.empty());
}

TEST_F(SimScmTest, PendingPhasesSurviveTheWrapOfTheTickCount) {
  addService({"Late"});
  rules("late").startMs = 0x200;
  scm();
  clock.advance(0xFFFFFF00u);
  ASSERT_TRUE(start("Late"));
  clock.advance(0x1FF);  // the tick count has wrapped
  EXPECT_EQ(stateOf("Late"), state::StartPending);
  clock.advance(1);
  EXPECT_EQ(stateOf("Late"), state::Running);
}

}  // namespace
