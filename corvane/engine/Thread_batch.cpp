#include "corvane/engine/Thread_batch.h"

#include <algorithm>
#include <exception>

#include "corvane/engine/error_messages.h"
#include "corvane/engine/registry_backup.h"
#include "corvane/engine/service_pause.h"
#include "corvane/engine/service_restart.h"
#include "corvane/engine/service_start_stop.h"
#include "corvane/engine/start_type_change.h"
#include "corvane/snapshot/run_batch.h"

namespace corvane {

namespace {

const char* const NoRightsText =
    "\nPossible reason: you may not have sufficient rights \nto properly access Windows Services "
    "and Registry.\nTo run this program you need an administrator account!";

bool IsStartTypeCode(std::int32_t code) {
  return code >= ReqStartTypeBoot && code <= ReqStartTypeDisabled;
}

}  // namespace

bool RequestOpensConsole(std::int32_t code) {
  return !(IsStartTypeCode(code) || code == ReqRefreshAll || code == ReqRefresh ||
           code == ReqBackupRegEntry || code == ReqTakeSnapshot || code == ReqLoadSnapshot);
}

batch::batch(std::int32_t code, const WorkerContext& context)
    : Thread(context.ui), context_(context) {
  RequestState& request = Request();
  request.OperationCode = code;
  request.EnumBuffer.clear();
  if (RequestOpensConsole(code)) {
    context_.host.ShowConsole();
    context_.host.SetConsoleButtonEnabled(false);
  }
  try {
    request.ScmHandle = context_.scm.openSCManager(platform::access::ScManagerAll);
    request.ScmAvailable = request.ScmHandle != 0;
    if (!request.ScmAvailable) {
      const std::uint32_t error = context_.scm.lastError();
      std::string text = "Unable to open SCManager!\nError:\n" + SystemText(error);
      if (error == platform::err::AccessDenied)
        text += NoRightsText;
      context_.host.MessageBox(BoxOwner::MainWindow, text, "error", DialogIcon::Error);
    }
  } catch (const std::exception& error) {
    request.ScmHandle = 0;
    request.ScmAvailable = false;
    context_.host.MessageBox(
        BoxOwner::MainWindow,
        std::string("Exception error when opening SCManager!\nException:\n") + error.what(),
        "error", DialogIcon::Error);
  }
}

void batch::ConsoleWrite(const std::string& text) {
  OnUiThread([&] {
    Request().ConsoleLine = text;
    context_.host.AppendConsoleLine(text);
  });
}

void batch::ConsoleWriteError(const std::string& text, std::uint32_t error) {
  ConsoleWrite(text);
  ConsoleWrite("\nerrorcode: " + std::to_string(error) + " - " +
               ErrorMessageText(error, context_.messages));
}

void batch::ConsoleProgressToMinimum() {
  OnUiThread([&] { context_.host.SetConsoleProgressPosition(ConsoleProgressMin); });
}

void batch::ConsoleProgressToMaximum() {
  OnUiThread([&] { context_.host.SetConsoleProgressPosition(ConsoleProgressMax); });
}

int batch::AdvanceConsoleProgress(int step) {
  int position = 0;
  OnUiThread([&] {
    position = std::clamp(context_.host.ConsoleProgressPosition() + step, ConsoleProgressMin,
                          ConsoleProgressMax);
    context_.host.SetConsoleProgressPosition(position);
  });
  return position;
}

int batch::AdvanceConsoleProgressInWait() {
  int position = 0;
  OnUiThread([&] {
    const int current = context_.host.ConsoleProgressPosition();
    const int step = current <= 50 ? ProgressStep : ProgressStep / 3;
    position = std::clamp(current + step, ConsoleProgressMin, ConsoleProgressMax);
    context_.host.SetConsoleProgressPosition(position);
  });
  return position;
}

void batch::EnableConsoleButton() {
  OnUiThread([&] { context_.host.SetConsoleButtonEnabled(true); });
}

void batch::ShowMessageBox(BoxOwner owner, const std::string& text, const std::string& caption,
                           DialogIcon icon) {
  OnUiThread([&] { context_.host.MessageBox(owner, text, caption, icon); });
}

std::string batch::SystemText(std::uint32_t error) {
  return context_.messages.messageText(error);
}

void batch::RefreshCatalogue() {
  OnUiThread([&] { context_.host.RefreshCatalogue(); });
  OnUiThread([] {});
}

void batch::ReactivateEventLogs() {
  OnUiThread([&] { context_.host.ReactivateEventLogs(); });
  OnUiThread([] {});
}

void batch::ResolveSelectedService() {
  OnUiThread([&] {
    RequestState& request = Request();
    request.RequestServiceName = "error";
    request.RequestDisplayName = "error";
    const MainPage page = context_.host.ActivePage();
    std::optional<std::string> selected;
    bool byDisplayName = false;
    if (page == MainPage::ServiceList) {
      selected = context_.host.SelectedServiceName();
    } else if (page == MainPage::ServiceGroups) {
      selected = context_.host.SelectedGroupNodeText();
      byDisplayName = true;
    } else {
      Terminate();
      return;
    }
    if (!selected)
      return;
    const Catalogue& catalogue = Services();
    for (std::size_t i = 0; i < catalogue.ServiceCount; ++i) {
      context_.host.ProcessMessages();
      if (Terminated())
        return;
      const ServiceRecord& record = catalogue.ServiceTable[i];
      if ((byDisplayName ? record.DisplayName : record.ServiceName) == *selected) {
        request.RequestServiceName = record.ServiceName;
        request.RequestDisplayName = record.DisplayName;
        return;
      }
    }
  });
}

void batch::ShowProgress() {
  OnUiThread([&] { context_.host.DrawStatusProgress(Request().ProgressPercent); });
}

void batch::EndWithRefresh() {
  ConsoleProgressToMaximum();
  try {
    ReactivateEventLogs();
    RefreshCatalogue();
  } catch (const std::exception&) {
    ShowMessageBox(BoxOwner::Application, "Unable to hide console !", "error");
  }
  CleanUp();
}

void batch::EndQuietly() {
  try {
    OnUiThread([&] {
      if (context_.host.AutoHideConsole())
        context_.host.HideConsole();
    });
  } catch (const std::exception&) {
    ShowMessageBox(BoxOwner::Application, "Unable to hide console !", "error");
  }
  CleanUp();
}

void batch::CleanUp() {
  RequestState& request = Request();
  request.EnumBuffer.clear();
  request.EnumBuffer.shrink_to_fit();
  EnableConsoleButton();
  ReleaseConnection();
  Terminate();
}

void batch::ReleaseConnection() {
  RequestState& request = Request();
  if (request.ScmHandle != 0)
    context_.scm.closeServiceHandle(request.ScmHandle);
  request.ScmHandle = 0;
}

void batch::DoTerminate() {
  Thread::DoTerminate();
  Request().WorkerIdle = true;
}

void batch::Execute() {
  SetReturnValue(1);
  try {
    Dispatch();
  } catch (const ThreadKilled&) {
    ReleaseConnection();
    Request().EnumBuffer.clear();
    throw;
  } catch (const std::exception& error) {
    // A failure no operation expects (out of memory, a broken platform): report it and end the
    // request as usual, so that the program takes new requests.
    ConsoleWrite(std::string("\nerror: ") + error.what());
    CleanUp();
  }
}

void batch::Dispatch() {
  const std::int32_t code = Request().OperationCode;
  if (IsStartTypeCode(code)) {
    ChangeStartTypeRequest(*this, static_cast<std::uint32_t>(code));
    RefreshCatalogue();
    ConsoleWrite("\n");
    EndQuietly();
    return;
  }
  switch (code) {
    case ReqRefreshAll:
      ReactivateEventLogs();
      RefreshCatalogue();
      EndWithRefresh();
      return;
    case ReqRefresh:
      RefreshRequest();
      EndWithRefresh();
      return;
    case ReqStart:
    case ReqRestart:
    case ReqPauseResume:
    case ReqStop:
    case ReqAutoAndStart:
    case ReqManualAndStop:
    case ReqManualAndStart:
      SingleServiceRequest();
      return;
    case ReqUninstall:
      UninstallRequest(*this);
      return;
    case ReqBackupRegEntry:
      BackupRegEntryRequest(*this);
      return;
    case ReqExecuteBatch:
      RunBatch(*this);
      return;
    case ReqTakeSnapshot:
    case ReqLoadSnapshot:
      SnapshotRefreshRequest();
      return;
    default:
      ConsoleProgressToMinimum();
      ConsoleWrite("\n");
      CleanUp();
      return;
  }
}

void batch::RefreshRequest() {
  MainPage page = MainPage::None;
  if (!context_.program.RefreshAllViews) {
    OnUiThread([&] { page = context_.host.ActivePage(); });
  }
  if (context_.program.RefreshAllViews || page == MainPage::None) {
    ReactivateEventLogs();
    RefreshCatalogue();
  } else if (page == MainPage::EventLog) {
    ReactivateEventLogs();
  } else {
    RefreshCatalogue();
  }
}

void batch::SingleServiceRequest() {
  const std::int32_t code = Request().OperationCode;
  ResolveSelectedService();
  ConsoleProgressToMinimum();
  ConsoleWrite("\nservice: " + Request().RequestDisplayName);
  switch (code) {
    case ReqStart:
      ConsoleWrite("\ncontrols to send: start");
      break;
    case ReqRestart:
      ConsoleWrite("\ncontrols to send: stop, start");
      break;
    case ReqPauseResume:
      ConsoleWrite("\ncontrols to send: pause");
      break;
    case ReqStop:
      ConsoleWrite("\ncontrols to send: stop");
      break;
    case ReqAutoAndStart:
      ConsoleWrite("\ncontrols to send: auto, start");
      ConsoleWrite("\nsetting starttype: auto");
      break;
    case ReqManualAndStop:
      ConsoleWrite("\ncontrols to send: manual, stop");
      ConsoleWrite("\nsetting starttype: manual");
      break;
    case ReqManualAndStart:
      ConsoleWrite("\ncontrols to send: manual, start");
      ConsoleWrite("\nsetting starttype: manual");
      break;
  }
  if (code == ReqAutoAndStart)
    CombinedStartTypeStep(*this, platform::start::Automatic);
  if (code == ReqManualAndStop || code == ReqManualAndStart) {
    CombinedStartTypeStep(*this, platform::start::Manual);
  }

  const std::string name = Request().RequestServiceName;
  std::int32_t result = -1;
  switch (code) {
    case ReqStart:
    case ReqAutoAndStart:
    case ReqManualAndStart:
      result = StartWithDependencies(*this, name, true);
      break;
    case ReqStop:
    case ReqManualAndStop:
      result = StopWithDependents(*this, name, true);
      break;
    case ReqRestart:
      result = RestartService(*this, name);
      break;
    case ReqPauseResume:
      result = PauseOrResume(*this);
      break;
  }
  if (result == -1) {
    ConsoleWrite("\n");
    EndWithRefresh();
    return;
  }
  ConsoleProgressToMaximum();
  ReactivateEventLogs();
  RefreshCatalogue();
  ConsoleWrite("\n");
  EndQuietly();
}

void batch::SnapshotRefreshRequest() {
  const bool load = Request().OperationCode == ReqLoadSnapshot;
  ConsoleProgressToMinimum();
  ConsoleWrite(load ? "\noperation: load snapshot" : "\noperation: take snapshot");
  ConsoleWrite("\nrefreshing service list ...");
  if (context_.program.RefreshAllViews)
    ReactivateEventLogs();
  RefreshCatalogue();
  ConsoleProgressToMaximum();
  ConsoleWrite("\ndone.");
  ConsoleWrite("\n");
  EndQuietly();
}

}  // namespace corvane
