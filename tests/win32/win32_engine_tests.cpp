// The worker's service routines against real services: start and stop with their trees,
// restart, pause and resume, start-type changes, and a start that fails.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "corvane/catalogue/refresh_catalogue.h"
#include "corvane/engine/Thread_batch.h"
#include "corvane/engine/registry_backup.h"
#include "corvane/engine/service_pause.h"
#include "corvane/engine/service_restart.h"
#include "corvane/engine/service_start_stop.h"
#include "corvane/engine/start_type_change.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_scm.h"
#include "platform/win32/win32_system.h"
#include "support/scripted_dialogs.h"
#include "win32_test_support.h"

namespace {

using namespace corvane;
using win32_test::TestService;
using win32_test::TestServiceOptions;

// Virtual time for the worker's waits, which end early when a watched service reports a status:
// the worker polls real services without waiting out its intervals when they have moved on.
class ServiceEventClock : public platform::VirtualClock {
 public:
  void watch(HANDLE event) { events_.push_back(event); }
  void sleep(std::uint32_t milliseconds) override {
    if (!events_.empty()) {
      WaitForMultipleObjects(static_cast<DWORD>(events_.size()), events_.data(), FALSE,
                             milliseconds);
    }
    advance(milliseconds);
  }

 private:
  std::vector<HANDLE> events_;
};

class InlineUi : public UiThread {
 public:
  void post(std::function<void()> job) override { job(); }
};

// Keeps the console lines and boxes; refreshes the catalogue from the real computer.
class ConsoleHost : public WorkerHost {
 public:
  ConsoleHost(platform::Scm& scm, ProgramState& program) : scm_(scm), program_(program) {}

  std::vector<std::string> lines;
  std::vector<std::string> boxes;
  // The key name of the service list's selected row.
  std::optional<std::string> selected;
  bool has(const std::string& line) const {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  void AppendConsoleLine(const std::string& line) override { lines.push_back(line); }
  void ShowConsole() override {}
  void HideConsole() override {}
  void SetConsoleButtonEnabled(bool) override {}
  void SetConsoleButtonCaption(const std::string&) override {}
  int ConsoleProgressPosition() override { return progress_; }
  void SetConsoleProgressPosition(int position) override { progress_ = position; }
  bool AutoHideConsole() override { return false; }
  void DrawStatusProgress(float) override {}
  MainPage ActivePage() override { return MainPage::ServiceList; }
  std::optional<std::string> SelectedServiceName() override { return selected; }
  std::optional<std::string> SelectedGroupNodeText() override { return std::nullopt; }
  void ProcessMessages() override {}
  void RefreshCatalogue() override {
    const platform::ScHandle manager = scm_.openSCManager(platform::access::ScManagerAll);
    const RefreshContext context{scm_,
                                 registry_,
                                 dialogs_,
                                 manager != 0,
                                 manager,
                                 enumBuffer_,
                                 program_.ConfigBuffer,
                                 program_.StatusBuffer};
    corvane::RefreshCatalogue(context, program_.catalogue);
    scm_.closeServiceHandle(manager);
  }
  void ReactivateEventLogs() override {}
  void MessageBox(BoxOwner, const std::string& text, const std::string& caption,
                  DialogIcon) override {
    boxes.push_back(caption + "|" + text);
  }
  void TerminateApplication() override {}

 private:
  platform::Scm& scm_;
  ProgramState& program_;
  platform::win32::Win32Registry registry_;
  corvane::testing::ScriptedDialogs dialogs_;
  std::vector<platform::EnumServiceEntry> enumBuffer_;
  int progress_ = 0;
};

class Win32EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dependency = std::make_unique<TestService>("CorvaneEngDep");
    TestServiceOptions options;
    options.dependencies = dependency->name() + '\0' + '\0';
    service = std::make_unique<TestService>("CorvaneEngSvc", options);
    ASSERT_TRUE(dependency->created());
    ASSERT_TRUE(service->created());
    clock.watch(dependency->reportedEvent());
    clock.watch(service->reportedEvent());
  }

  // A worker on the refreshed catalogue, acting on `name` (also the selected row), with an empty
  // console.
  batch& worker(const std::string& name, std::int32_t code = ReqStart) {
    host.RefreshCatalogue();
    host.selected = name;
    request.RequestServiceName = name;
    request.RequestDisplayName = name;
    worker_ = std::make_unique<batch>(
        code, WorkerContext{scm, clock, messages, host, ui, program, request, processes});
    host.lines.clear();
    return *worker_;
  }

  std::uint32_t startTypeOf(const std::string& name) {
    platform::win32::Win32Registry registry;
    const auto start = registry.readBytes(platform::RegRoot::LocalMachine,
                                          std::string(ServicesKey) + name, "Start", 4);
    return start && start->size() == 4 ? static_cast<unsigned char>((*start)[0]) : 99;
  }

  std::string consoleText() const {
    std::string text;
    for (const auto& line : host.lines)
      text += line;
    return text;
  }

  platform::win32::Win32Scm scm;
  platform::win32::Win32Messages messages;
  platform::win32::Win32Processes processes;
  ServiceEventClock clock;
  ProgramState program;
  RequestState request;
  ConsoleHost host{scm, program};
  InlineUi ui;
  std::unique_ptr<TestService> dependency;
  std::unique_ptr<TestService> service;

 private:
  std::unique_ptr<batch> worker_;
};

TEST_F(Win32EngineTest, StartAndStopARealService) {
  ASSERT_EQ(StartWithDependencies(worker(dependency->name()), dependency->name(), true), 0)
      << consoleText();
  EXPECT_EQ(dependency->currentState(), SERVICE_RUNNING);
  EXPECT_EQ(host.lines.back(), "\nservice successfully started.");

  EXPECT_EQ(StartWithDependencies(worker(dependency->name()), dependency->name(), true), 0);
  EXPECT_EQ(host.lines, std::vector<std::string>{"\nalready running."});

  ASSERT_EQ(StopWithDependents(worker(dependency->name()), dependency->name(), true), 0)
      << consoleText();
  EXPECT_EQ(dependency->currentState(), SERVICE_STOPPED);
  EXPECT_EQ(host.lines.back(), "\nservice successfully stopped.");

  EXPECT_EQ(StopWithDependents(worker(dependency->name()), dependency->name(), true), 0);
  EXPECT_EQ(host.lines, std::vector<std::string>{"\nalready stopped."});
}

TEST_F(Win32EngineTest, AStartStartsTheDependencyFirstAndAStopStopsTheDependentFirst) {
  SKIP_UNDER_WINE("QueryServiceConfigW always answers an empty dependency list");
  ASSERT_EQ(StartWithDependencies(worker(service->name()), service->name(), true), 0)
      << consoleText();
  EXPECT_EQ(dependency->currentState(), SERVICE_RUNNING);
  EXPECT_EQ(service->currentState(), SERVICE_RUNNING);
  EXPECT_TRUE(host.has("\ndependency -> starting: " + dependency->name() + " ..."))
      << consoleText();

  ASSERT_EQ(StopWithDependents(worker(dependency->name()), dependency->name(), true), 0)
      << consoleText();
  EXPECT_EQ(service->currentState(), SERVICE_STOPPED);
  EXPECT_EQ(dependency->currentState(), SERVICE_STOPPED);
}

TEST_F(Win32EngineTest, ADisabledServiceIsSwitchedToManualAndStarted) {
  ChangeStartTypeRequest(worker(dependency->name(), ReqStartTypeDisabled),
                         platform::start::Disabled);
  ASSERT_EQ(startTypeOf(dependency->name()), platform::start::Disabled) << consoleText();
  EXPECT_EQ(StartWithDependencies(worker(dependency->name()), dependency->name(), true), 0)
      << consoleText();
  EXPECT_EQ(startTypeOf(dependency->name()), platform::start::Manual);
  EXPECT_EQ(dependency->currentState(), SERVICE_RUNNING);
}

TEST_F(Win32EngineTest, RestartLeavesTheServiceRunning) {
  ASSERT_EQ(StartWithDependencies(worker(dependency->name()), dependency->name(), true), 0);
  EXPECT_EQ(RestartService(worker(dependency->name(), ReqRestart), dependency->name()), 0)
      << consoleText();
  EXPECT_EQ(dependency->currentState(), SERVICE_RUNNING);
}

TEST_F(Win32EngineTest, PauseThenResume) {
  ASSERT_EQ(StartWithDependencies(worker(dependency->name()), dependency->name(), true), 0);
  EXPECT_EQ(PauseOrResume(worker(dependency->name(), ReqPauseResume)), 0) << consoleText();
  EXPECT_EQ(dependency->currentState(), SERVICE_PAUSED);
  EXPECT_EQ(PauseOrResume(worker(dependency->name(), ReqPauseResume)), 0) << consoleText();
  EXPECT_EQ(dependency->currentState(), SERVICE_RUNNING);
}

TEST_F(Win32EngineTest, BackupAndUninstallGoThroughTheRegistryEditor) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "corvane-registry-backup-test";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "registry entries");
  program.InstallDir = folder.string();
  const std::filesystem::path backup = folder / "registry entries" / (service->name() + ".reg");

  BackupRegEntryRequest(worker(service->name(), ReqBackupRegEntry));
  EXPECT_TRUE(host.has("\nservice successfully backed up")) << consoleText();
  EXPECT_GT(std::filesystem::file_size(backup), 0u);

  std::filesystem::remove(backup);
  UninstallRequest(worker(service->name(), ReqUninstall));
  EXPECT_TRUE(host.has("\nservice successfully uninstalled")) << consoleText();
  EXPECT_TRUE(std::filesystem::exists(backup));
  const SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  const SC_HANDLE gone =
      OpenServiceW(manager, std::wstring(service->name().begin(), service->name().end()).c_str(),
                   SERVICE_QUERY_STATUS);
  EXPECT_EQ(gone, nullptr);
  if (gone != nullptr)
    CloseServiceHandle(gone);
  CloseServiceHandle(manager);
  std::filesystem::remove_all(folder);
}

TEST(Win32Engine, AServiceWhoseProgramIsMissingFailsWithTheSystemsError) {
  TestServiceOptions options;
  options.commandLine = "C:\\corvane-missing\\service.exe";
  TestService broken("CorvaneEngBroken", options);
  ASSERT_TRUE(broken.created());
  platform::win32::Win32Scm scm;
  platform::win32::Win32Messages messages;
  platform::win32::Win32Processes processes;
  ServiceEventClock clock;
  ProgramState program;
  RequestState request;
  ConsoleHost host{scm, program};
  InlineUi ui;
  host.RefreshCatalogue();
  request.RequestServiceName = broken.name();
  batch worker(ReqStart,
               WorkerContext{scm, clock, messages, host, ui, program, request, processes});
  EXPECT_EQ(StartWithDependencies(worker, broken.name(), true), -1);
  std::string console;
  for (const auto& line : host.lines)
    console += line;
  EXPECT_NE(console.find("\nerrorcode: "), std::string::npos) << console;
  EXPECT_EQ(broken.currentState(), SERVICE_STOPPED);
}

}  // namespace
