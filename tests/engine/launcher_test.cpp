// LaunchRequest, WorkerDone and the close query, with a worker on its own thread handing its work
// to the test's thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "corvane/engine/request_launcher.h"
#include "engine_fixture.h"
#include "tests/support/scripted_dialogs.h"

namespace corvane::testing {
namespace {

const char* const ControlNames[] = {"MainForm",
                                    "PageControl",
                                    "ToolBar",
                                    "Refresh",
                                    "Panel",
                                    "EventPanel",
                                    "Description",
                                    "RefreshMsg",
                                    "RefreshMsg2",
                                    "RefreshMsg3",
                                    "ToolButton1",
                                    "ToolButton2",
                                    "ToolButton3",
                                    "ToolButton4",
                                    "SpeedButton1",
                                    "SpeedButton2",
                                    "SpeedButton3",
                                    "SpeedButton4",
                                    "SpeedButton5",
                                    "SpeedButton6",
                                    "SpeedButton7",
                                    "RadioButton1",
                                    "RadioButton2",
                                    "RadioButton3",
                                    "RadioButton4",
                                    "RadioButton5",
                                    "RadioButton6",
                                    "RadioButton7",
                                    "RadioButton8",
                                    "mServices",
                                    "mFilesystemdrivers",
                                    "mKerneldrivers",
                                    "mAll",
                                    "mApplication",
                                    "mSecurity",
                                    "mSystem",
                                    "mAllEvents",
                                    "mRefresh",
                                    "mTake",
                                    "mLoad"};

std::string Name(MainControl control) {
  return ControlNames[static_cast<int>(control)];
}

// Records every call as "<verb>:<control>" or "<routine>".
class RecordingView : public MainWindowView {
 public:
  std::vector<std::string> calls;
  std::map<std::string, bool> enabled;
  std::map<std::string, bool> checked;
  MainPage page = MainPage::ServiceList;
  bool autoRefreshEventLog = false;
  std::function<void()> onPageControlChange;
  std::function<void()> onProcessMessages;

  void SetEnabled(MainControl control, bool on) override {
    enabled[Name(control)] = on;
    calls.push_back((on ? "enable:" : "disable:") + Name(control));
  }
  void SetVisible(MainControl control, bool visible) override {
    calls.push_back((visible ? "show:" : "hide:") + Name(control));
  }
  void SetChecked(MainControl control, bool on) override {
    checked[Name(control)] = on;
    calls.push_back((on ? "check:" : "uncheck:") + Name(control));
  }
  bool IsChecked(MainControl control) override { return checked[Name(control)]; }
  void Repaint(MainControl control) override { calls.push_back("repaint:" + Name(control)); }
  void ProcessMessages() override {
    calls.push_back("process");
    if (onProcessMessages)
      onProcessMessages();
  }
  MainPage ActivePage() override { return page; }
  void ShowServicesPage() override {
    page = MainPage::ServiceList;
    calls.push_back("servicesPage");
  }
  void SetStatusText(int panel, const std::string& text) override {
    calls.push_back("status" + std::to_string(panel) + ":" + text);
  }
  bool AutoRefreshEventLog() override { return autoRefreshEventLog; }
  void FillViews() override { calls.push_back("FillViews"); }
  void FillEventList() override { calls.push_back("FillEventList"); }
  void LoadSnapshotWindowFile() override { calls.push_back("LoadSnapshotWindowFile"); }
  void FillSnapshotFromCatalogue() override { calls.push_back("FillFromCatalogue"); }
  void ShowSnapshotWindow() override { calls.push_back("ShowSnapshotWindow"); }
  void SetConsoleButtonCaption(const std::string& caption) override {
    calls.push_back("caption:" + caption);
  }
  void PageControlChange() override {
    calls.push_back("PageControlChange");
    if (onPageControlChange)
      onPageControlChange();
  }

  int Count(const std::string& call) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
  }
  std::vector<std::string> From(const std::string& first) const {
    auto start = std::find(calls.begin(), calls.end(), first);
    return {start, calls.end()};
  }
};

class LauncherTest : public EngineTest {
 protected:
  void SetUp() override {
    AddService({"Spooler", "Print Spooler"});
    FillCatalogue();
    host().events.clear();
    host().selectedService = "Spooler";
    program.RequestsBlocked = false;
    launcher = std::make_unique<RequestLauncher>(view, dialogs, Context(ui));
  }
  void RunToCompletion() {
    ui.RunUntil([this] { return request.WorkerIdle.load(); });
  }

  QueueUi ui;
  RecordingView view;
  ScriptedDialogs dialogs;
  std::unique_ptr<RequestLauncher> launcher;
};

const std::vector<std::string> CommandSetDisabled = {
    "disable:ToolBar",        "disable:Refresh",      "disable:Panel",
    "disable:EventPanel",     "disable:mServices",    "disable:mFilesystemdrivers",
    "disable:mKerneldrivers", "disable:mAll",         "disable:mApplication",
    "disable:mSecurity",      "disable:mSystem",      "disable:mAllEvents",
    "disable:mRefresh",       "disable:mTake",        "disable:mLoad",
    "disable:ToolButton1",    "disable:ToolButton2",  "disable:ToolButton3",
    "disable:ToolButton4",    "disable:SpeedButton1", "disable:SpeedButton2",
    "disable:SpeedButton3",   "disable:SpeedButton4", "disable:SpeedButton5",
    "disable:SpeedButton6",   "disable:SpeedButton7"};

TEST_F(LauncherTest, RequestsBeforeTheFirstShowAreIgnored) {
  program.RequestsBlocked = true;
  EXPECT_FALSE(launcher->LaunchRequest(ReqRefreshAll));
  EXPECT_TRUE(view.calls.empty());
  EXPECT_TRUE(request.WorkerIdle);
  EXPECT_TRUE(host().events.empty());
}

TEST_F(LauncherTest, FullRefreshCoversThePagesAndDisablesTheCommandSet) {
  program.FullRefresh = true;
  program.RefreshAllViews = true;
  ASSERT_TRUE(launcher->LaunchRequest(ReqRefreshAll));
  std::vector<std::string> expected = {
      "disable:PageControl", "show:RefreshMsg",  "repaint:RefreshMsg",  "show:RefreshMsg2",
      "repaint:RefreshMsg2", "show:RefreshMsg3", "repaint:RefreshMsg3", "process"};
  expected.insert(expected.end(), CommandSetDisabled.begin(), CommandSetDisabled.end());
  expected.insert(expected.end(), {"status1:querying ...", "process"});
  EXPECT_EQ(view.calls, expected);
  EXPECT_FALSE(request.WorkerIdle);
  EXPECT_FALSE(program.SnapshotRequest);
  RunToCompletion();
}

TEST_F(LauncherTest, QuickRefreshLeavesThePagesUncovered) {
  program.FullRefresh = false;
  ASSERT_TRUE(launcher->LaunchRequest(ReqRefresh));
  std::vector<std::string> expected = CommandSetDisabled;
  expected.insert(expected.end(), {"status1:querying ...", "process"});
  EXPECT_EQ(view.calls, expected);
  RunToCompletion();
}

TEST_F(LauncherTest, RequestWhileOneRunsIsDroppedAndNothingIsQueued) {
  program.FullRefresh = false;
  ASSERT_TRUE(launcher->LaunchRequest(ReqStart));
  view.calls.clear();
  EXPECT_FALSE(launcher->LaunchRequest(ReqStop));
  EXPECT_FALSE(launcher->LaunchRequest(ReqRefreshAll));
  EXPECT_EQ(view.calls, (std::vector<std::string>{"process", "process"}));
  RunToCompletion();
  EXPECT_EQ(view.Count("PageControlChange"), 1);
  EXPECT_EQ(host().Count("line:\ncontrols to send: stop"), 0);
  EXPECT_EQ(StateOf("Spooler"), platform::state::Running);
  // Once the completion has run, the next request is taken.
  EXPECT_TRUE(launcher->LaunchRequest(ReqStop));
  RunToCompletion();
  EXPECT_EQ(StateOf("Spooler"), platform::state::Stopped);
}

TEST_F(LauncherTest, WorkerDoneRunsItsStepsInOrder) {
  program.FullRefresh = true;
  program.RefreshAllViews = false;
  view.checked["RadioButton3"] = true;
  view.checked["RadioButton8"] = true;
  ASSERT_TRUE(launcher->LaunchRequest(ReqStart));
  view.calls.clear();
  RunToCompletion();
  EXPECT_EQ(view.From("status1:"), (std::vector<std::string>{"status1:",
                                                             "caption:Hide",
                                                             "show:Description",
                                                             "enable:Panel",
                                                             "enable:EventPanel",
                                                             "enable:Refresh",
                                                             "enable:ToolBar",
                                                             "enable:PageControl",
                                                             "FillViews",
                                                             "enable:mServices",
                                                             "enable:mFilesystemdrivers",
                                                             "enable:mKerneldrivers",
                                                             "enable:mAll",
                                                             "enable:mApplication",
                                                             "enable:mSecurity",
                                                             "enable:mSystem",
                                                             "enable:mAllEvents",
                                                             "enable:mRefresh",
                                                             "enable:mTake",
                                                             "enable:mLoad",
                                                             "hide:RefreshMsg",
                                                             "hide:RefreshMsg2",
                                                             "hide:RefreshMsg3",
                                                             "uncheck:mServices",
                                                             "uncheck:mFilesystemdrivers",
                                                             "check:mKerneldrivers",
                                                             "uncheck:mAll",
                                                             "uncheck:mApplication",
                                                             "uncheck:mSecurity",
                                                             "uncheck:mSystem",
                                                             "check:mAllEvents",
                                                             "repaint:MainForm",
                                                             "process",
                                                             "PageControlChange"}));
  EXPECT_FALSE(program.FullRefresh);
  EXPECT_FALSE(program.SnapshotRequest);
  EXPECT_FALSE(request.FirstCompletion);
  EXPECT_FALSE(request.Busy);
  // The service commands are left to the page-change handler.
  EXPECT_FALSE(view.enabled["ToolButton1"]);
}

TEST_F(LauncherTest, CompletionFillsWhatThePageAndTheFlagsAskFor) {
  struct Case {
    bool refreshAllViews;
    bool fullRefresh;
    MainPage page;
    bool autoRefreshEventLog;
    bool firstCompletion;
    bool skipEventLogFillOnce;
    std::vector<std::string> fills;
  };
  const Case cases[] = {
      // Only the active page.
      {false, false, MainPage::ServiceList, true, false, false, {"FillViews"}},
      {false, false, MainPage::ServiceGroups, false, false, false, {"FillViews"}},
      {false, false, MainPage::EventLog, false, false, false, {"FillEventList"}},
      // Every view: the event list by the rule of the page, the flags and the setting.
      {true, true, MainPage::ServiceList, false, true, false, {"FillViews"}},
      {true, true, MainPage::ServiceList, true, true, false, {"FillViews", "FillEventList"}},
      {true, true, MainPage::ServiceList, false, false, false, {"FillViews", "FillEventList"}},
      {true, false, MainPage::ServiceList, false, false, false, {"FillViews"}},
      {true, false, MainPage::ServiceList, true, true, false, {"FillViews", "FillEventList"}},
      {true, false, MainPage::EventLog, false, true, false, {"FillViews", "FillEventList"}},
      // After a batch the event list is skipped once.
      {true, true, MainPage::EventLog, true, false, true, {"FillViews"}},
  };
  for (const Case& c : cases) {
    program.RefreshAllViews = c.refreshAllViews;
    program.FullRefresh = c.fullRefresh;
    view.page = c.page;
    view.autoRefreshEventLog = c.autoRefreshEventLog;
    request.FirstCompletion = c.firstCompletion;
    request.SkipEventLogFillOnce = c.skipEventLogFillOnce;
    ASSERT_TRUE(launcher->LaunchRequest(ReqRefresh));
    view.calls.clear();
    RunToCompletion();
    std::vector<std::string> fills;
    for (const std::string& call : view.calls) {
      if (call == "FillViews" || call == "FillEventList")
        fills.push_back(call);
    }
    EXPECT_EQ(fills, c.fills) << c.refreshAllViews << c.fullRefresh << static_cast<int>(c.page)
                              << c.autoRefreshEventLog << c.firstCompletion;
    EXPECT_FALSE(program.RefreshAllViews);
    EXPECT_FALSE(request.SkipEventLogFillOnce);
  }
}

TEST_F(LauncherTest, SnapshotRequestsSwitchToTheServicesAndFillTheSnapshotWindow) {
  struct Case {
    std::int32_t code;
    const char* fill;
  };
  for (const Case c : {Case{ReqTakeSnapshot, "FillFromCatalogue"},
                       Case{ReqLoadSnapshot, "LoadSnapshotWindowFile"}}) {
    view.calls.clear();
    view.page = MainPage::EventLog;
    program.FullRefresh = false;
    program.RefreshAllViews = false;
    ASSERT_TRUE(launcher->LaunchRequest(c.code));
    EXPECT_EQ(std::vector<std::string>(view.calls.begin(), view.calls.begin() + 3),
              (std::vector<std::string>{"servicesPage", "check:RadioButton1", "process"}));
    EXPECT_TRUE(program.SnapshotRequest);
    EXPECT_EQ(request.LoadSnapshotRequest, c.code == ReqLoadSnapshot);
    RunToCompletion();
    const std::vector<std::string> done = view.From("caption:Hide");
    EXPECT_EQ(std::vector<std::string>(done.begin() + 1, done.begin() + 8),
              (std::vector<std::string>{"enable:Panel", "enable:EventPanel", "enable:Refresh",
                                        "enable:ToolBar", "enable:PageControl", c.fill,
                                        "ShowSnapshotWindow"}));
    EXPECT_FALSE(program.SnapshotRequest);
  }
}

TEST_F(LauncherTest, NoRequestStartsBeforeTheCompletionHasRun) {
  program.FullRefresh = false;
  int accepted = 0;
  bool clicking = false;
  // A click handled while the completion lets messages run, and one in the page-change handler.
  view.onProcessMessages = [&] {
    if (!request.Busy || clicking)
      return;
    clicking = true;
    accepted += launcher->LaunchRequest(ReqRefresh);
    clicking = false;
  };
  view.onPageControlChange = [&] {
    EXPECT_FALSE(request.WorkerIdle);
    accepted += launcher->LaunchRequest(ReqRefresh);
  };
  request.Busy = false;
  ASSERT_TRUE(launcher->LaunchRequest(ReqStart));
  RunToCompletion();
  EXPECT_EQ(accepted, 0);
  EXPECT_TRUE(request.WorkerIdle);
}

TEST_F(LauncherTest, CloseWithoutAWorkerGoesOnAsUsual) {
  EXPECT_EQ(launcher->StopWorkerForClose(), CloseWithWorker::NoWorker);
  EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(LauncherTest, CloseAnsweredNoKeepsTheWorkerRunning) {
  ASSERT_TRUE(launcher->LaunchRequest(ReqStart));
  ui.WaitForJob();
  dialogs.answers.push_back(DialogResult::No);
  EXPECT_EQ(launcher->StopWorkerForClose(), CloseWithWorker::KeepRunning);
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].text, "Terminate current operation and exit ?");
  EXPECT_EQ(dialogs.asked[0].icon, DialogIcon::Warning);
  EXPECT_EQ(dialogs.asked[0].buttons, DialogButtons::YesNo);
  EXPECT_FALSE(request.Closing);
  RunToCompletion();
  EXPECT_EQ(StateOf("Spooler"), platform::state::Running);
  EXPECT_EQ(view.Count("PageControlChange"), 1);
}

TEST_F(LauncherTest, CloseAnsweredYesStopsTheWorkerAtItsNextHandOver) {
  ASSERT_TRUE(launcher->LaunchRequest(ReqStart));
  // The worker waits for its first hand-over (resolving the selection) to run.
  ui.WaitForJob();
  dialogs.answers.push_back(DialogResult::Yes);
  EXPECT_EQ(launcher->StopWorkerForClose(), CloseWithWorker::WorkerStopped);
  launcher->WaitForStoppedWorker();
  EXPECT_TRUE(request.Closing);
  EXPECT_TRUE(request.Busy);
  EXPECT_FALSE(request.WorkerIdle);
  EXPECT_EQ(request.ScmHandle, 0u);
  // The hand-over it was waiting for never runs; nothing was started, nothing completed.
  ui.RunQueued();
  EXPECT_EQ(request.RequestServiceName, "");
  EXPECT_EQ(StateOf("Spooler"), platform::state::Stopped);
  EXPECT_EQ(view.Count("PageControlChange"), 0);
  EXPECT_FALSE(launcher->LaunchRequest(ReqRefresh));
}

TEST_F(LauncherTest, CloseAnsweredYesWhileTheQuestionRanTheCompletionFindsNoWorker) {
  ASSERT_TRUE(launcher->LaunchRequest(ReqRefresh));
  // The question's message loop lets the whole request run to its end.
  struct CompletingDialogs : ScriptedDialogs {
    QueueUi* ui = nullptr;
    RequestState* request = nullptr;
    DialogResult messageBox(const std::string& text, const std::string& caption, DialogIcon icon,
                            DialogButtons buttons) override {
      Thread* worker = request->CurrentWorker;
      worker->Resume();  // as if the question came before the suspension took hold
      ui->RunUntil([this] { return request->WorkerIdle.load(); });
      return ScriptedDialogs::messageBox(text, caption, icon, buttons);
    }
  } completing;
  completing.ui = &ui;
  completing.request = &request;
  RequestLauncher closing(view, completing, Context(ui));
  EXPECT_EQ(closing.StopWorkerForClose(), CloseWithWorker::NoWorker);
  EXPECT_FALSE(request.Closing);
}

}  // namespace
}  // namespace corvane::testing
