// The worker's construction, dispatch table, endings and console routines.
#include <gtest/gtest.h>

#include <stdexcept>

#include "corvane/engine/Thread_batch.h"
#include "engine_fixture.h"

namespace corvane::testing {
namespace {

using platform::ScHandle;

// The hand-overs that are not console lines, in order.
std::vector<std::string> Trace(const RecordingHost& host) {
  std::vector<std::string> trace;
  for (const std::string& event : host.events) {
    if (event.rfind("line:", 0) != 0)
      trace.push_back(event);
  }
  return trace;
}

class BatchTest : public EngineTest {
 protected:
  void SetUp() override {
    AddService({"Spooler", "Print Spooler"});
    AddService({"Alerter", "Alerter"});
    FillCatalogue();
    host().events.clear();
    host().selectedService = "Spooler";
  }
};

TEST_F(BatchTest, ConstructionShowsTheConsoleOnlyForTheCodesThatOpenIt) {
  struct Case {
    std::int32_t code;
    bool opens;
  };
  const Case cases[] = {
      {ReqStartTypeBoot, false},
      {ReqStartTypeDisabled, false},
      {ReqRefreshAll, false},
      {ReqRefresh, false},
      {ReqStart, true},
      {ReqRestart, true},
      {ReqPauseResume, true},
      {ReqStop, true},
      {ReqAutoAndStart, true},
      {ReqManualAndStop, true},
      {ReqManualAndStart, true},
      {ReqUninstall, true},
      {ReqBackupRegEntry, false},
      {ReqExecuteBatch, true},
      {ReqTakeSnapshot, false},
      {ReqLoadSnapshot, false},
      {5, true},
      {-3, true},
  };
  for (const Case& c : cases) {
    host().events.clear();
    batch worker(c.code, Context(inlineUi));
    const std::vector<std::string> expected =
        c.opens ? std::vector<std::string>{"showConsole", "button:off"}
                : std::vector<std::string>{};
    EXPECT_EQ(host().events, expected) << c.code;
    EXPECT_EQ(request.OperationCode, c.code);
    EXPECT_TRUE(request.ScmAvailable);
    EXPECT_NE(request.ScmHandle, 0u);
    Scm().closeServiceHandle(request.ScmHandle);
  }
}

// The computer's manager, with an opening of the manager that fails or raises.
class FailingManagerScm : public platform::Scm {
 public:
  FailingManagerScm(platform::Scm& inner, std::uint32_t error, bool raises)
      : inner_(inner), error_(error), raises_(raises) {}
  ScHandle openSCManager(std::uint32_t) override {
    if (raises_)
      throw std::runtime_error("RPC server unavailable");
    failed_ = true;
    return 0;
  }
  bool enumServicesStatus(ScHandle m, std::uint32_t t, std::uint32_t s, std::size_t b,
                          std::vector<platform::EnumServiceEntry>& e, std::size_t& n,
                          std::uint32_t& r) override {
    return inner_.enumServicesStatus(m, t, s, b, e, n, r);
  }
  ScHandle openService(ScHandle m, const std::string& name, std::uint32_t a) override {
    failed_ = false;
    return inner_.openService(m, name, a);
  }
  bool queryServiceConfig(ScHandle s, std::size_t b, platform::ServiceConfig& c,
                          std::size_t& n) override {
    return inner_.queryServiceConfig(s, b, c, n);
  }
  bool queryServiceStatus(ScHandle s, platform::ServiceStatus& st) override {
    return inner_.queryServiceStatus(s, st);
  }
  bool controlService(ScHandle s, std::uint32_t c, platform::ServiceStatus& st) override {
    return inner_.controlService(s, c, st);
  }
  bool startService(ScHandle s) override { return inner_.startService(s); }
  bool changeServiceStartType(ScHandle s, std::uint32_t t) override {
    return inner_.changeServiceStartType(s, t);
  }
  bool deleteService(ScHandle s) override { return inner_.deleteService(s); }
  bool closeServiceHandle(ScHandle h) override { return inner_.closeServiceHandle(h); }
  std::uint32_t lastError() const override { return failed_ ? error_ : inner_.lastError(); }

 private:
  platform::Scm& inner_;
  std::uint32_t error_;
  bool raises_;
  bool failed_ = false;
};

TEST_F(BatchTest, UnavailableManagerIsReportedAndTheRequestStillRuns) {
  struct Case {
    std::uint32_t error;
    bool raises;
    std::string box;
  };
  const Case cases[] = {
      {5, false,
       "main|error|Unable to open SCManager!\nError:\nAccess is denied.\r\n"
       "\nPossible reason: you may not have sufficient rights \nto properly access Windows "
       "Services and Registry.\nTo run this program you need an administrator account!"},
      {1115, false, "main|error|Unable to open SCManager!\nError:\n" + messages.messageText(1115)},
      {0, true,
       "main|error|Exception error when opening SCManager!\nException:\nRPC server unavailable"},
  };
  for (const Case& c : cases) {
    host().events.clear();
    host().lines.clear();
    FailingManagerScm failing(Scm(), c.error, c.raises);
    WorkerContext context = Context(inlineUi);
    WorkerContext failingContext{failing,         context.clock,   context.messages,
                                 context.host,    context.ui,      context.program,
                                 context.request, context.processes};
    {
      batch worker(ReqStart, failingContext);
      EXPECT_FALSE(request.ScmAvailable);
      EXPECT_EQ(host().Boxes(), std::vector<std::string>{c.box});
      worker.Resume();
      worker.WaitFor();
    }
    // The start fails on the missing connection and says so.
    EXPECT_NE(host().Console().find("\nerror: can't open service Print Spooler"
                                    "\nerrorcode: 6 - The specified handle is invalid."),
              std::string::npos)
        << host().Console();
    EXPECT_TRUE(request.WorkerIdle);
  }
}

TEST_F(BatchTest, DispatchRunsEachCodesStepsAndEnding) {
  struct Case {
    std::int32_t code;
    bool refreshAllViews;
    MainPage page;
    std::vector<std::string> trace;
  };
  const std::vector<std::string> refreshEnding = {"progress:101", "reactivate", "refreshCatalogue",
                                                  "button:on"};
  auto withEnding = [&](std::vector<std::string> steps) {
    steps.insert(steps.end(), refreshEnding.begin(), refreshEnding.end());
    return steps;
  };
  const Case cases[] = {
      // Refresh all: its body and its ending each reactivate the logs and refresh.
      {ReqRefreshAll, false, MainPage::ServiceList, withEnding({"reactivate", "refreshCatalogue"})},
      {ReqRefresh, true, MainPage::EventLog, withEnding({"reactivate", "refreshCatalogue"})},
      {ReqRefresh, false, MainPage::None, withEnding({"reactivate", "refreshCatalogue"})},
      {ReqRefresh, false, MainPage::ServiceList, withEnding({"refreshCatalogue"})},
      {ReqRefresh, false, MainPage::ServiceGroups, withEnding({"refreshCatalogue"})},
      {ReqRefresh, false, MainPage::EventLog, withEnding({"reactivate"})},
      {ReqTakeSnapshot,
       false,
       MainPage::ServiceList,
       {"progress:0", "refreshCatalogue", "progress:101", "button:on"}},
      {ReqLoadSnapshot,
       true,
       MainPage::ServiceList,
       {"progress:0", "reactivate", "refreshCatalogue", "progress:101", "button:on"}},
      // An unknown code: an empty line, no refresh.
      {7, false, MainPage::ServiceList, {"showConsole", "button:off", "progress:0", "button:on"}},
      {-99, false, MainPage::ServiceList, {"showConsole", "button:off", "progress:0", "button:on"}},
  };
  for (const Case& c : cases) {
    host().events.clear();
    host().lines.clear();
    program.RefreshAllViews = c.refreshAllViews;
    host().page = c.page;
    RunRequest(c.code);
    EXPECT_EQ(Trace(host()), c.trace) << c.code << " page " << static_cast<int>(c.page);
    EXPECT_TRUE(request.WorkerIdle);
    EXPECT_EQ(request.ScmHandle, 0u);
    EXPECT_TRUE(request.EnumBuffer.empty());
  }
}

TEST_F(BatchTest, SnapshotRefreshAndUnknownCodeLines) {
  RunRequest(ReqTakeSnapshot);
  EXPECT_EQ(host().lines,
            (std::vector<std::string>{"\noperation: take snapshot", "\nrefreshing service list ...",
                                      "\ndone.", "\n"}));
  host().lines.clear();
  RunRequest(ReqLoadSnapshot);
  EXPECT_EQ(host().lines.front(), "\noperation: load snapshot");
  host().lines.clear();
  RunRequest(12345);
  EXPECT_EQ(host().lines, std::vector<std::string>{"\n"});
}

TEST_F(BatchTest, AutoHideHidesTheConsoleOnlyAfterQuietEndings) {
  host().autoHide = true;
  struct Case {
    std::int32_t code;
    std::string selected;
    bool hidden;
  };
  const Case cases[] = {
      {ReqStart, "Spooler", true},   // a successful start ends quietly
      {ReqStart, "Nothing", false},  // a failed one ends with refresh
      {ReqStartTypeManual, "Spooler", true}, {ReqTakeSnapshot, "Spooler", true},
      {ReqRefreshAll, "Spooler", false},     {42, "Spooler", false},  // unknown: clean-up only
  };
  for (const Case& c : cases) {
    host().events.clear();
    host().selectedService = c.selected;
    RunRequest(c.code);
    EXPECT_EQ(host().Count("hideConsole"), c.hidden ? 1 : 0) << c.code << " " << c.selected;
    // The console's button is enabled last, whatever the ending.
    EXPECT_EQ(Trace(host()).back(), "button:on") << c.code;
  }
}

TEST_F(BatchTest, FailureToHideTheConsoleIsShownAndTheCleanUpStillRuns) {
  host().autoHide = true;
  host().hideFails = true;
  RunRequest(ReqStart);
  EXPECT_EQ(host().Boxes(), std::vector<std::string>{"application|error|Unable to hide console !"});
  EXPECT_EQ(Trace(host()).back(), "button:on");
  EXPECT_TRUE(request.WorkerIdle);
  EXPECT_EQ(request.ScmHandle, 0u);
}

TEST_F(BatchTest, ConsoleWriteErrorUsesTheFixedTextsAndOtherwiseTheSystemsWithoutItsLastCharacter) {
  struct Case {
    std::uint32_t number;
    std::string message;
  };
  const Case cases[] = {
      {5, "You might not have sufficient rights."},
      {6, "The specified handle is invalid."},
      {87, "The requested control code is undefined."},
      {123, "The specified service name is invalid."},
      {1051, "The service cannot be stopped because other running services are dependent on it."},
      {1052, "The requested control code is not valid, or it is unacceptable to the service."},
      {1053,
       "The process for the service was started, but it did not call StartServiceCtrlDispatcher, "
       "or the thread that called StartServiceCtrlDispatcher may be blocked in a control handler "
       "function."},
      {1060, "The specified service does not exist."},
      {1061,
       "The requested control code cannot be sent to the service because the state of the "
       "service is SERVICE_STOPPED, SERVICE_START_PENDING, or SERVICE_STOP_PENDING."},
      {1062, "The service has not been started."},
      {1115, "The system is shutting down."},
      // The system's text ends in "\r\n"; only its last character goes.
      {1056, "An instance of the service is already running.\r"},
      {1068, "The dependency service or group failed to start.\r"},
      // A number the system has no text for.
      {4000000000u, ""},
  };
  batch& worker = Worker();
  for (const Case& c : cases) {
    host().lines.clear();
    worker.ConsoleWriteError("\nerror: x", c.number);
    EXPECT_EQ(host().lines,
              (std::vector<std::string>{
                  "\nerror: x", "\nerrorcode: " + std::to_string(c.number) + " - " + c.message}))
        << c.number;
  }
  EXPECT_EQ(request.ConsoleLine, "\nerrorcode: 4000000000 - ");
}

TEST_F(BatchTest, ResolveSelectedServiceFollowsTheActivePage) {
  struct Case {
    MainPage page;
    std::optional<std::string> row;
    std::optional<std::string> node;
    std::string serviceName;
    std::string displayName;
    bool terminated;
  };
  const Case cases[] = {
      {MainPage::ServiceList, "Spooler", std::nullopt, "Spooler", "Print Spooler", false},
      // The name cell is compared exactly.
      {MainPage::ServiceList, "spooler", std::nullopt, "error", "error", false},
      {MainPage::ServiceList, std::nullopt, std::nullopt, "error", "error", false},
      {MainPage::ServiceGroups, "Alerter", "Print Spooler", "Spooler", "Print Spooler", false},
      {MainPage::ServiceGroups, "Spooler", "Spooler", "error", "error", false},
      // The event-log page resolves nothing and asks the worker to terminate.
      {MainPage::EventLog, "Spooler", std::nullopt, "error", "error", true},
      {MainPage::None, "Spooler", std::nullopt, "error", "error", true},
  };
  for (const Case& c : cases) {
    batch worker(ReqStart, Context(inlineUi));
    host().page = c.page;
    host().selectedService = c.row;
    host().selectedGroupNode = c.node;
    request.RequestServiceName = "stale";
    worker.ResolveSelectedService();
    EXPECT_EQ(request.RequestServiceName, c.serviceName) << static_cast<int>(c.page);
    EXPECT_EQ(request.RequestDisplayName, c.displayName) << static_cast<int>(c.page);
    EXPECT_EQ(worker.Terminated(), c.terminated) << static_cast<int>(c.page);
  }
}

TEST_F(BatchTest, ResolveSelectedServiceStopsItsWalkWhenTheWorkerIsAskedToTerminate) {
  batch& worker = Worker();
  host().selectedService = "Alerter";  // the second record
  host().onProcessMessages = [&] { worker.Terminate(); };
  worker.ResolveSelectedService();
  EXPECT_EQ(request.RequestServiceName, "error");
  EXPECT_EQ(host().processMessagesCalls, 1);
}

TEST_F(BatchTest, ServiceRequestOnTheEventLogPageFailsOnTheUnresolvedName) {
  host().page = MainPage::EventLog;
  RunRequest(ReqStart);
  EXPECT_EQ(host().Boxes(), std::vector<std::string>{"application|error|error finding service !"});
  EXPECT_EQ(host().lines,
            (std::vector<std::string>{"\nservice: error", "\ncontrols to send: start", "\n"}));
  EXPECT_EQ(host().Count("refreshCatalogue"), 1);
  EXPECT_EQ(StateOf("Spooler"), platform::state::Stopped);
}

TEST_F(BatchTest, SingleServiceTemplateWritesTheHeaderOfEachCode) {
  struct Case {
    std::int32_t code;
    std::vector<std::string> header;
  };
  const Case cases[] = {
      {ReqStart, {"\ncontrols to send: start"}},
      {ReqRestart, {"\ncontrols to send: stop, start"}},
      {ReqPauseResume, {"\ncontrols to send: pause"}},
      {ReqStop, {"\ncontrols to send: stop"}},
      {ReqAutoAndStart, {"\ncontrols to send: auto, start", "\nsetting starttype: auto"}},
      {ReqManualAndStop, {"\ncontrols to send: manual, stop", "\nsetting starttype: manual"}},
      {ReqManualAndStart, {"\ncontrols to send: manual, start", "\nsetting starttype: manual"}},
  };
  for (const Case& c : cases) {
    host().lines.clear();
    RunRequest(c.code);
    ASSERT_GE(host().lines.size(), 1 + c.header.size()) << c.code;
    EXPECT_EQ(host().lines[0], "\nservice: Print Spooler") << c.code;
    const std::vector<std::string> header(host().lines.begin() + 1,
                                          host().lines.begin() + 1 + c.header.size());
    EXPECT_EQ(header, c.header) << c.code;
  }
}

TEST_F(BatchTest, SuccessfulStartRefreshesAndEndsQuietly) {
  RunRequest(ReqStart);
  EXPECT_EQ(host().lines,
            (std::vector<std::string>{"\nservice: Print Spooler", "\ncontrols to send: start",
                                      "\nstarting: Print Spooler ...",
                                      "\nservice successfully started.", "\n"}));
  EXPECT_EQ(Trace(host()), (std::vector<std::string>{
                               "showConsole", "button:off", "progress:0", "progress:3", "button:on",
                               "progress:101", "reactivate", "refreshCatalogue", "button:on"}));
  EXPECT_EQ(StateOf("Spooler"), platform::state::Running);
}

}  // namespace
}  // namespace corvane::testing
