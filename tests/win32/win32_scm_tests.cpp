// The service control manager provider against real services: the test service and a second one
// it depends on, created for each test.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_scm.h"
#include "win32_test_support.h"

namespace {

using namespace platform;
using platform::win32::Win32Scm;
using win32_test::TestService;
using win32_test::TestServiceOptions;

constexpr std::size_t LargeBuffer = 1 << 20;

class Win32ScmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    manager = scm.openSCManager(access::ScManagerAll);
    ASSERT_NE(manager, 0u) << scm.lastError();
    dependency = std::make_unique<TestService>("CorvaneDep", TestServiceOptions{});
    TestServiceOptions options;
    options.group = "CorvaneTestGroup";
    options.dependencies = dependency->name() + '\0' + '\0';
    options.description = "Test service of the Windows provider";
    options.gated = true;
    service = std::make_unique<TestService>("CorvaneSvc", options);
    ASSERT_TRUE(dependency->created());
    ASSERT_TRUE(service->created());
    handle = scm.openService(manager, service->name(), access::ServiceAll);
    ASSERT_NE(handle, 0u) << scm.lastError();
  }

  void TearDown() override {
    if (handle != 0)
      scm.closeServiceHandle(handle);
    service.reset();
    dependency.reset();
    if (manager != 0)
      scm.closeServiceHandle(manager);
  }

  ServiceStatus status(ScHandle of) {
    ServiceStatus answer;
    EXPECT_TRUE(scm.queryServiceStatus(of, answer)) << scm.lastError();
    return answer;
  }

  // Starts the gated service and lets it run through its start.
  void startAndRun() {
    ASSERT_TRUE(scm.startService(handle)) << scm.lastError();
    for (int checkPoint = 1; checkPoint <= 2; ++checkPoint) {
      ASSERT_TRUE(service->waitReported());
      service->advance();
    }
    ASSERT_TRUE(service->waitReported());
    ASSERT_EQ(status(handle).currentState, state::Running);
  }

  std::vector<EnumServiceEntry> enumerateAll(std::size_t bufferSize, int* calls = nullptr) {
    std::vector<EnumServiceEntry> entries;
    std::uint32_t resume = 0;
    for (int call = 1; call < 10000; ++call) {
      std::size_t needed = 0;
      const bool done = scm.enumServicesStatus(manager, svctype::AllEnumerated, state::EnumAll,
                                               bufferSize, entries, needed, resume);
      if (calls != nullptr)
        *calls = call;
      if (done) {
        EXPECT_EQ(resume, 0u);
        break;
      }
      EXPECT_EQ(scm.lastError(), err::MoreData);
      EXPECT_GT(needed, 0u);
      if (scm.lastError() != err::MoreData)
        break;
    }
    return entries;
  }

  Win32Scm scm;
  ScHandle manager = 0;
  ScHandle handle = 0;
  std::unique_ptr<TestService> dependency;
  std::unique_ptr<TestService> service;
};

const EnumServiceEntry* find(const std::vector<EnumServiceEntry>& entries,
                             const std::string& name) {
  const auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const auto& entry) { return entry.serviceName == name; });
  return found == entries.end() ? nullptr : &*found;
}

TEST_F(Win32ScmTest, EnumerationListsTheTestServicesWithNamesAndStatus) {
  const auto entries = enumerateAll(LargeBuffer);
  for (const TestService* expected : {service.get(), dependency.get()}) {
    const auto* entry = find(entries, expected->name());
    ASSERT_NE(entry, nullptr) << expected->name();
    EXPECT_EQ(entry->displayName, expected->options().displayName);
    EXPECT_EQ(entry->status.serviceType, svctype::OwnProcess);
    EXPECT_EQ(entry->status.currentState, state::Stopped);
  }
}

TEST_F(Win32ScmTest, SmallBuffersPageThroughEveryServiceOnceWithTheResumeIndex) {
  const auto whole = enumerateAll(LargeBuffer);
  int calls = 0;
  const auto paged = enumerateAll(1024, &calls);
  EXPECT_GT(calls, 1);
  std::vector<std::string> wholeNames, pagedNames;
  for (const auto& entry : whole)
    wholeNames.push_back(entry.serviceName);
  for (const auto& entry : paged)
    pagedNames.push_back(entry.serviceName);
  std::sort(wholeNames.begin(), wholeNames.end());
  std::sort(pagedNames.begin(), pagedNames.end());
  EXPECT_EQ(pagedNames, wholeNames);
}

TEST_F(Win32ScmTest, ABufferTooSmallForOneEntryAppendsNothingAndAsksForMore) {
  std::vector<EnumServiceEntry> entries;
  std::size_t needed = 0;
  std::uint32_t resume = 0;
  EXPECT_FALSE(scm.enumServicesStatus(manager, svctype::AllEnumerated, state::EnumAll, 8, entries,
                                      needed, resume));
  EXPECT_EQ(scm.lastError(), err::MoreData);
  EXPECT_TRUE(entries.empty());
  EXPECT_GT(needed, 8u);
  EXPECT_EQ(resume, 0u);
}

TEST_F(Win32ScmTest, ConfigurationTooLargeForTheBufferFailsWith122AndTheSizeNeeded) {
  ServiceConfig config;
  std::size_t needed = 0;
  EXPECT_FALSE(scm.queryServiceConfig(handle, 16, config, needed));
  EXPECT_EQ(scm.lastError(), err::InsufficientBuffer);
  // The wide-character answer: the fixed record plus every text in two-byte characters.
  EXPECT_GE(needed, sizeof(QUERY_SERVICE_CONFIGW) + 2 * service->commandLine().size());
  EXPECT_TRUE(scm.queryServiceConfig(handle, needed, config, needed)) << scm.lastError();
}

TEST_F(Win32ScmTest, ConfigurationHoldsWhatTheServiceWasCreatedWith) {
  ServiceConfig config;
  std::size_t needed = 0;
  ASSERT_TRUE(scm.queryServiceConfig(handle, 8192, config, needed)) << scm.lastError();
  EXPECT_EQ(config.serviceType, svctype::OwnProcess);
  EXPECT_EQ(config.startType, start::Manual);
  EXPECT_EQ(config.errorControl, 1u);
  EXPECT_EQ(config.binaryPathName, service->commandLine());
  EXPECT_EQ(config.loadOrderGroup, "CorvaneTestGroup");
  EXPECT_EQ(config.serviceStartName, "LocalSystem");
  EXPECT_EQ(config.displayName, service->options().displayName);
}

TEST_F(Win32ScmTest, ConfigurationListsTheDependencies) {
  SKIP_UNDER_WINE("QueryServiceConfigW always answers an empty dependency list");
  ServiceConfig config;
  std::size_t needed = 0;
  ASSERT_TRUE(scm.queryServiceConfig(handle, 8192, config, needed)) << scm.lastError();
  EXPECT_EQ(config.dependencies, dependency->name() + '\0' + '\0');
}

TEST_F(Win32ScmTest, TheServiceDatabaseKeepsTheDependenciesInTheRegistry) {
  platform::win32::Win32Registry registry;
  const auto value = registry.readBytes(RegRoot::LocalMachine,
                                        "SYSTEM\\CurrentControlSet\\Services\\" + service->name(),
                                        "DependOnService", 8192);
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(*value, dependency->name() + '\0' + '\0');
}

TEST_F(Win32ScmTest, StartGoesThroughStartPendingWithAdvancingCheckPoints) {
  ASSERT_TRUE(scm.startService(handle)) << scm.lastError();
  for (std::uint32_t checkPoint = 1; checkPoint <= 2; ++checkPoint) {
    ASSERT_TRUE(service->waitReported());
    const auto pending = status(handle);
    EXPECT_EQ(pending.currentState, state::StartPending);
    EXPECT_EQ(pending.checkPoint, checkPoint);
    EXPECT_GT(pending.waitHint, 0u);
    EXPECT_EQ(pending.controlsAccepted, 0u);
    service->advance();
  }
  ASSERT_TRUE(service->waitReported());
  const auto running = status(handle);
  EXPECT_EQ(running.currentState, state::Running);
  EXPECT_EQ(running.controlsAccepted, control::AcceptStop | control::AcceptPauseContinue);
  EXPECT_EQ(running.checkPoint, 0u);
}

TEST_F(Win32ScmTest, StartingAServiceStartsWhatItDependsOnFirst) {
  SKIP_UNDER_WINE("the service control manager does not start dependencies");
  startAndRun();
  EXPECT_EQ(dependency->currentState(), SERVICE_RUNNING);
}

struct ControlStep {
  std::uint32_t control;
  std::uint32_t pending;
  std::uint32_t settled;
};

TEST_F(Win32ScmTest, PauseContinueAndStopPassThroughTheirPendingStates) {
  startAndRun();
  const ControlStep steps[] = {
      {control::Pause, state::PausePending, state::Paused},
      {control::Continue, state::ContinuePending, state::Running},
      {control::Stop, state::StopPending, state::Stopped},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.control);
    ServiceStatus answer;
    ASSERT_TRUE(scm.controlService(handle, step.control, answer)) << scm.lastError();
    EXPECT_EQ(answer.currentState, step.pending);
    ASSERT_TRUE(service->waitReported());
    EXPECT_EQ(status(handle).currentState, step.pending);
    service->advance();
    ASSERT_TRUE(service->waitReported());
    EXPECT_EQ(status(handle).currentState, step.settled);
  }
}

TEST_F(Win32ScmTest, StartingARunningServiceFailsWith1056) {
  startAndRun();
  EXPECT_FALSE(scm.startService(handle));
  EXPECT_EQ(scm.lastError(), err::ServiceAlreadyRunning);
}

TEST_F(Win32ScmTest, StoppingAStoppedServiceFailsWith1062) {
  ServiceStatus answer;
  EXPECT_FALSE(scm.controlService(handle, control::Stop, answer));
  EXPECT_EQ(scm.lastError(), err::ServiceNotActive);
}

TEST_F(Win32ScmTest, AControlTheServiceDoesNotAcceptYetFailsWith1061AndReportsItsStatus) {
  ASSERT_TRUE(scm.startService(handle)) << scm.lastError();
  ASSERT_TRUE(service->waitReported());
  ServiceStatus answer;
  EXPECT_FALSE(scm.controlService(handle, control::Pause, answer));
  EXPECT_EQ(scm.lastError(), err::ServiceCannotAcceptControl);
  EXPECT_EQ(answer.currentState, state::StartPending);
}

TEST_F(Win32ScmTest, StoppingAServiceOthersDependOnFailsWith1051) {
  SKIP_UNDER_WINE("the service control manager stops a service whose dependents run");
  const ScHandle dependencyHandle =
      scm.openService(manager, dependency->name(), access::ServiceAll);
  ASSERT_NE(dependencyHandle, 0u);
  if (dependency->currentState() != SERVICE_RUNNING) {
    ASSERT_TRUE(scm.startService(dependencyHandle)) << scm.lastError();
  }
  ASSERT_TRUE(dependency->waitForState(SERVICE_RUNNING));
  startAndRun();
  ServiceStatus answer;
  EXPECT_FALSE(scm.controlService(dependencyHandle, control::Stop, answer));
  EXPECT_EQ(scm.lastError(), err::DependentServicesRunning);
  EXPECT_EQ(answer.currentState, state::Running);
  scm.closeServiceHandle(dependencyHandle);
}

TEST_F(Win32ScmTest, ADisabledServiceReportsItsStartTypeAndFailsToStartWith1058) {
  ASSERT_TRUE(scm.changeServiceStartType(handle, start::Disabled)) << scm.lastError();
  ServiceConfig config;
  std::size_t needed = 0;
  ASSERT_TRUE(scm.queryServiceConfig(handle, 8192, config, needed));
  EXPECT_EQ(config.startType, start::Disabled);
  EXPECT_EQ(config.binaryPathName, service->commandLine());
  EXPECT_EQ(config.displayName, service->options().displayName);
  EXPECT_FALSE(scm.startService(handle));
  EXPECT_EQ(scm.lastError(), err::ServiceDisabled);
}

TEST_F(Win32ScmTest, ADeletedServiceIsMarkedWhileOpenAndGoneOnceClosed) {
  const ScHandle doomed = scm.openService(manager, service->name(), access::Delete);
  ASSERT_NE(doomed, 0u) << scm.lastError();
  ASSERT_TRUE(scm.deleteService(doomed)) << scm.lastError();
  EXPECT_FALSE(scm.deleteService(doomed));
  EXPECT_EQ(scm.lastError(), err::ServiceMarkedForDelete);
  scm.closeServiceHandle(doomed);
  scm.closeServiceHandle(handle);
  handle = 0;
  EXPECT_EQ(scm.openService(manager, service->name(), access::ServiceAll), 0u);
  EXPECT_EQ(scm.lastError(), err::ServiceDoesNotExist);
}

TEST_F(Win32ScmTest, AServiceMarkedForDeletionDoesNotStart) {
  SKIP_UNDER_WINE("a service marked for deletion still starts");
  const ScHandle doomed = scm.openService(manager, service->name(), access::Delete);
  ASSERT_NE(doomed, 0u) << scm.lastError();
  ASSERT_TRUE(scm.deleteService(doomed)) << scm.lastError();
  EXPECT_FALSE(scm.startService(handle));
  EXPECT_EQ(scm.lastError(), err::ServiceMarkedForDelete);
  scm.closeServiceHandle(doomed);
}

TEST_F(Win32ScmTest, OpeningFailsWithThePlatformsNumbers) {
  const struct {
    ScHandle manager;
    std::string name;
    std::uint32_t error;
  } cases[] = {
      {0, "Anything", err::InvalidHandle},
      {0, "", err::InvalidHandle},
      {1, "CorvaneNoSuchService", err::ServiceDoesNotExist},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(scm.openService(c.manager == 0 ? 0 : manager, c.name, access::ServiceAll), 0u);
    EXPECT_EQ(scm.lastError(), c.error);
  }
}

}  // namespace
