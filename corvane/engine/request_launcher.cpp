#include "corvane/engine/request_launcher.h"

#include <array>
#include <utility>

#include "corvane/engine/Thread_batch.h"

namespace corvane {

namespace {

constexpr std::array<MainControl, 3> CoverPanels{MainControl::RefreshMsg, MainControl::RefreshMsg2,
                                                 MainControl::RefreshMsg3};

// The controls the completion enables again before anything else of the command set.
constexpr std::array<MainControl, 5> ViewControls{MainControl::Panel, MainControl::EventPanel,
                                                  MainControl::Refresh, MainControl::ToolBar,
                                                  MainControl::PageControl};

constexpr std::array<MainControl, 11> MenuCommands{
    MainControl::mServices,      MainControl::mFilesystemdrivers,
    MainControl::mKerneldrivers, MainControl::mAll,
    MainControl::mApplication,   MainControl::mSecurity,
    MainControl::mSystem,        MainControl::mAllEvents,
    MainControl::mRefresh,       MainControl::mTake,
    MainControl::mLoad};

constexpr std::array<MainControl, 11> ServiceCommands{
    MainControl::ToolButton1,  MainControl::ToolButton2,  MainControl::ToolButton3,
    MainControl::ToolButton4,  MainControl::SpeedButton1, MainControl::SpeedButton2,
    MainControl::SpeedButton3, MainControl::SpeedButton4, MainControl::SpeedButton5,
    MainControl::SpeedButton6, MainControl::SpeedButton7};

constexpr std::array<std::pair<MainControl, MainControl>, 8> FilterMenuItems{{
    {MainControl::RadioButton1, MainControl::mServices},
    {MainControl::RadioButton2, MainControl::mFilesystemdrivers},
    {MainControl::RadioButton3, MainControl::mKerneldrivers},
    {MainControl::RadioButton4, MainControl::mAll},
    {MainControl::RadioButton5, MainControl::mApplication},
    {MainControl::RadioButton6, MainControl::mSecurity},
    {MainControl::RadioButton7, MainControl::mSystem},
    {MainControl::RadioButton8, MainControl::mAllEvents},
}};

}  // namespace

RequestLauncher::RequestLauncher(MainWindowView& view, Dialogs& dialogs,
                                 const WorkerContext& context)
    : view_(view), dialogs_(dialogs), context_(context) {}

bool RequestLauncher::LaunchRequest(std::int32_t code) {
  ProgramState& program = context_.program;
  RequestState& request = context_.request;
  if (program.RequestsBlocked)
    return false;
  if (!request.WorkerIdle) {
    view_.ProcessMessages();
    return false;
  }
  request.WorkerIdle = false;

  if (code == ReqTakeSnapshot || code == ReqLoadSnapshot) {
    program.SnapshotRequest = true;
    request.LoadSnapshotRequest = code == ReqLoadSnapshot;
    view_.ShowServicesPage();
    view_.SetChecked(MainControl::RadioButton1, true);
    view_.ProcessMessages();
  } else {
    program.SnapshotRequest = false;
  }
  if (code == ReqExecuteBatch) {
    view_.ShowServicesPage();
    view_.SetChecked(MainControl::RadioButton1, true);
    view_.ProcessMessages();
  }
  if ((code == ReqRefreshAll || code == ReqRefresh) && program.FullRefresh) {
    view_.SetEnabled(MainControl::PageControl, false);
    for (const MainControl panel : CoverPanels) {
      view_.SetVisible(panel, true);
      view_.Repaint(panel);
    }
    view_.ProcessMessages();
  }

  for (const MainControl control :
       {MainControl::ToolBar, MainControl::Refresh, MainControl::Panel, MainControl::EventPanel}) {
    view_.SetEnabled(control, false);
  }
  for (const MainControl command : MenuCommands)
    view_.SetEnabled(command, false);
  for (const MainControl command : ServiceCommands)
    view_.SetEnabled(command, false);

  batch* worker = new batch(code, context_);
  worker->Priority = ThreadPriority::Lower;
  worker->FreeOnTerminate = true;
  worker->OnTerminate = [this](Thread& done) { WorkerDone(done); };
  request.CurrentWorker = worker;

  view_.SetStatusText(1, "querying ...");
  worker->Resume();
  view_.ProcessMessages();
  return true;
}

void RequestLauncher::FillEventListWhenDue() {
  const ProgramState& program = context_.program;
  const bool autoRefresh = view_.AutoRefreshEventLog();
  const bool due = view_.ActivePage() == MainPage::EventLog ||
                   (program.FullRefresh && (autoRefresh || !context_.request.FirstCompletion)) ||
                   (!program.FullRefresh && autoRefresh);
  if (due)
    view_.FillEventList();
}

void RequestLauncher::EnableAfterRequest() {
  for (const MainControl control : ViewControls)
    view_.SetEnabled(control, true);
}

void RequestLauncher::WorkerDone(Thread& worker) {
  ProgramState& program = context_.program;
  RequestState& request = context_.request;
  if (worker.ReturnValue() == 0)
    return;

  view_.SetStatusText(1, "");
  view_.SetConsoleButtonCaption("Hide");
  request.Busy = true;

  if (program.SnapshotRequest) {
    if (program.RefreshAllViews) {
      program.RefreshAllViews = false;
      view_.FillViews();
      FillEventListWhenDue();
    }
    EnableAfterRequest();
    if (request.LoadSnapshotRequest) {
      view_.LoadSnapshotWindowFile();
    } else {
      view_.FillSnapshotFromCatalogue();
    }
    view_.ShowSnapshotWindow();
  } else if (program.RefreshAllViews) {
    program.RefreshAllViews = false;
    view_.FillViews();
    if (request.SkipEventLogFillOnce) {
      request.SkipEventLogFillOnce = false;
    } else {
      FillEventListWhenDue();
    }
    EnableAfterRequest();
  } else {
    view_.SetVisible(MainControl::Description, true);
    EnableAfterRequest();
    const MainPage page = view_.ActivePage();
    if (page == MainPage::ServiceList || page == MainPage::ServiceGroups) {
      view_.FillViews();
    } else if (page == MainPage::EventLog) {
      view_.FillEventList();
    }
  }

  program.SnapshotRequest = false;
  program.FullRefresh = false;

  for (const MainControl command : MenuCommands)
    view_.SetEnabled(command, true);
  for (const MainControl panel : CoverPanels)
    view_.SetVisible(panel, false);

  for (const auto& [button, item] : FilterMenuItems) {
    view_.SetChecked(item, view_.IsChecked(button));
  }

  request.FirstCompletion = false;
  view_.Repaint(MainControl::MainForm);
  view_.ProcessMessages();
  request.Busy = false;

  view_.PageControlChange();
}

CloseWithWorker RequestLauncher::StopWorkerForClose() {
  RequestState& request = context_.request;
  if (request.WorkerIdle || request.CurrentWorker == nullptr)
    return CloseWithWorker::NoWorker;
  batch* worker = request.CurrentWorker;
  worker->Suspend();
  const DialogResult answer =
      dialogs_.messageBox("Terminate current operation and exit ?", "Corvane", DialogIcon::Warning,
                          DialogButtons::YesNo);
  // The question's message loop may have run the worker's completion; the worker is then gone.
  if (request.WorkerIdle) {
    return answer == DialogResult::Yes ? CloseWithWorker::NoWorker : CloseWithWorker::KeepRunning;
  }
  if (answer != DialogResult::Yes) {
    worker->Resume();
    return CloseWithWorker::KeepRunning;
  }
  request.Closing = true;
  request.WorkerIdle = false;
  request.Busy = true;
  Thread::Ending ending = worker->GetEnding();
  if (!worker->Kill())
    stoppingWorker_ = ending;
  request.CurrentWorker = nullptr;
  view_.ProcessMessages();
  return CloseWithWorker::WorkerStopped;
}

void RequestLauncher::WaitForStoppedWorker() {
  if (stoppingWorker_)
    stoppingWorker_->Wait();
}

}  // namespace corvane
