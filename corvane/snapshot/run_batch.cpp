#include "corvane/snapshot/run_batch.h"

#include "common/text.h"
#include "corvane/engine/Thread_batch.h"
#include "corvane/engine/service_handle.h"
#include "corvane/engine/service_start_stop.h"
#include "corvane/engine/start_type_change.h"
#include "corvane/snapshot/apply_snapshot.h"

namespace corvane {

namespace {

enum class EntryStep { Apply, Skip, Canceled };

// Steps 1 to 3 of each entry: progress, the names from the catalogue and the cancel check.
EntryStep TakeEntry(batch& worker, std::size_t index) {
  RequestState& request = worker.Request();
  const ProgramState& program = worker.Context().program;
  request.RequestServiceName.clear();
  request.RequestDisplayName.clear();
  // With one entry the batch is all done at once.
  request.ProgressPercent =
      program.BatchCount > 1
          ? static_cast<float>(index) / static_cast<float>(program.BatchCount - 1) * 100.0f
          : 100.0f;
  worker.ShowProgress();

  const Catalogue& catalogue = worker.Services();
  const std::string& wanted = program.BatchList[index].ServiceName;
  for (std::size_t i = 0; i < catalogue.ServiceCount; ++i) {
    const ServiceRecord& record = catalogue.ServiceTable[i];
    if (!common::equalsIgnoreCase(record.ServiceName, wanted))
      continue;
    request.RequestServiceName = record.ServiceName;
    request.RequestDisplayName = record.DisplayName;
    if (worker.Terminated()) {
      worker.ConsoleWrite("\n");
      worker.ConsoleWrite("\nerror: canceled by user !");
      worker.ConsoleWrite("\n");
      request.BatchCanceled = true;
      return EntryStep::Canceled;
    }
    break;
  }
  if (request.RequestServiceName.empty() || request.RequestDisplayName.empty())
    return EntryStep::Skip;
  return EntryStep::Apply;
}

// False when the connection to the service control manager was lost: the batch ends.
bool SetStartType(batch& worker, std::uint32_t startType) {
  platform::Scm& scm = worker.Context().scm;
  RequestState& request = worker.Request();
  worker.ConsoleWrite("\nservice: " + request.RequestDisplayName);
  worker.ConsoleWrite("\nsetting starttype: " + StartTypeWord(startType));

  const platform::ScHandle manager = scm.openSCManager(platform::access::ScManagerAll);
  if (manager == 0) {
    worker.ConsoleWriteError("\nerror: unable to open SCManager", scm.lastError());
    worker.ConsoleWrite("\nstatus not updated !");
    return false;
  }
  // Each entry's connection replaces the one before, which is closed.
  if (request.ScmHandle != 0)
    scm.closeServiceHandle(request.ScmHandle);
  request.ScmHandle = manager;
  request.ScmAvailable = true;

  OpenedService service(scm, manager, request.RequestServiceName, request.ServiceHandle);
  if (!service) {
    worker.ConsoleWriteError("\nerror: unable to open service", scm.lastError());
    worker.ConsoleWrite("\nstatus not updated !");
    return true;
  }
  if (scm.changeServiceStartType(service.Handle(), startType)) {
    worker.ConsoleWrite("\nstatus updated.");
  } else {
    const std::string text = worker.SystemText(scm.lastError());
    worker.ShowMessageBox(BoxOwner::Console, "Unable to update config!\n\nError:\n" + text,
                          "error");
    worker.ConsoleWrite("\nerror:\n" + text);
  }
  return true;
}

void SetState(batch& worker, std::uint32_t state) {
  const RequestState& request = worker.Request();
  const std::string name = request.RequestServiceName;
  if (state == platform::state::Stopped) {
    worker.ConsoleWrite("\nservice: " + request.RequestDisplayName);
    worker.ConsoleWrite("\ncontrols to send: stop");
    worker.ConsoleProgressToMinimum();
    StopWithDependents(worker, name, true);
    worker.ConsoleProgressToMaximum();
  } else if (state == platform::state::Running) {
    worker.ConsoleWrite("\nservice: " + request.RequestDisplayName);
    worker.ConsoleWrite("\ncontrols to send: start");
    worker.ConsoleProgressToMinimum();
    StartWithDependencies(worker, name, true);
    worker.ConsoleProgressToMaximum();
  }
}

}  // namespace

void RunBatch(batch& worker) {
  RequestState& request = worker.Request();
  const ProgramState& program = worker.Context().program;
  WorkerHost& host = worker.Context().host;
  request.BatchCanceled = false;
  worker.ConsoleProgressToMinimum();
  worker.OnUiThread([&] {
    host.SetConsoleButtonEnabled(true);
    host.SetConsoleButtonCaption("Stop");
  });
  worker.ConsoleWrite("\noperation: execute batch");
  request.ProgressPercent = 0;
  worker.ShowProgress();

  const bool startTypes = program.BatchMode == BatchModeStartTypes;
  const bool states = program.BatchMode == BatchModeStates;
  if (startTypes || states)
    worker.ConsoleWrite(startTypes ? "\nupdate startup type." : "\nupdate status.");
  for (std::size_t k = 0; (startTypes || states) && k < program.BatchCount; ++k) {
    const EntryStep step = TakeEntry(worker, k);
    if (step == EntryStep::Canceled) {
      worker.EndWithRefresh();
      return;
    }
    if (step == EntryStep::Skip)
      continue;
    const ServiceRecord& entry = program.BatchList[k];
    if (startTypes) {
      if (!SetStartType(worker, entry.StartType)) {
        worker.EndWithRefresh();
        return;
      }
    } else {
      SetState(worker, entry.State);
    }
  }
  if (startTypes)
    worker.ConsoleWrite("\nupdate startup type: done");
  if (states)
    worker.ConsoleWrite("\nupdate status: done");

  worker.ReactivateEventLogs();
  worker.RefreshCatalogue();
  worker.ConsoleWrite("\n");
  worker.ConsoleProgressToMaximum();
  worker.EndWithRefresh();
}

}  // namespace corvane
