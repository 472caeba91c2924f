#include "corvane/engine/start_type_change.h"

#include "corvane/engine/Thread_batch.h"
#include "corvane/engine/service_handle.h"

namespace corvane {

namespace {

void ChangeWithReport(batch& worker, platform::ScHandle service, std::uint32_t startType,
                      bool toConsole) {
  platform::Scm& scm = worker.Context().scm;
  if (scm.changeServiceStartType(service, startType)) {
    if (toConsole)
      worker.ConsoleWrite("\nstatus updated");
    return;
  }
  const std::string text = worker.SystemText(scm.lastError());
  worker.ShowMessageBox(BoxOwner::Console, "Unable to update config!\n\nError:\n" + text, "error");
  if (toConsole)
    worker.ConsoleWrite("\nerror:\n" + text);
}

}  // namespace

std::string StartTypeWord(std::uint32_t startType) {
  switch (startType) {
    case platform::start::Boot:
      return "boot";
    case platform::start::System:
      return "system";
    case platform::start::Automatic:
      return "automatic";
    case platform::start::Manual:
      return "manual";
    case platform::start::Disabled:
      return "disabled";
  }
  return "unknown: " + std::to_string(startType);
}

void ChangeStartTypeRequest(batch& worker, std::uint32_t startType) {
  platform::Scm& scm = worker.Context().scm;
  RequestState& request = worker.Request();
  worker.ResolveSelectedService();
  worker.ConsoleWrite("\nservice: " + request.RequestDisplayName);
  worker.ConsoleWrite("\nsetting starttype: " + StartTypeWord(startType));

  // A new connection for the change. It replaces the request's, which is closed; when it cannot
  // be opened the request's stays, so that the catalogue refresh that follows still works.
  const platform::ScHandle manager = scm.openSCManager(platform::access::ScManagerAll);
  if (manager == 0) {
    const std::uint32_t error = scm.lastError();
    worker.ShowMessageBox(BoxOwner::Console,
                          "Unable to open SCManager! Service config not Updated.", "error");
    worker.ConsoleWriteError("\nerror: unable to open SCManager", error);
    worker.ConsoleWrite("\nstatus not updated");
    return;
  }
  if (request.ScmHandle != 0)
    scm.closeServiceHandle(request.ScmHandle);
  request.ScmHandle = manager;
  request.ScmAvailable = true;

  OpenedService service(scm, manager, request.RequestServiceName, request.ServiceHandle);
  if (!service) {
    const std::uint32_t error = scm.lastError();
    worker.ShowMessageBox(BoxOwner::Console, "Unable to open service! Config not updated.",
                          "error");
    worker.ConsoleWriteError("\nerror: unable to open service", error);
    worker.ConsoleWrite("\nstatus not updated");
    return;
  }
  ChangeWithReport(worker, service.Handle(), startType, true);
}

void CombinedStartTypeStep(batch& worker, std::uint32_t startType) {
  RequestState& request = worker.Request();
  OpenedService service(worker.Context().scm, request.ScmHandle, request.RequestServiceName,
                        request.ServiceHandle);
  if (!service) {
    worker.ShowMessageBox(BoxOwner::MainWindow, "Unable to open service! Config not updated.",
                          "error");
    return;
  }
  ChangeWithReport(worker, service.Handle(), startType, false);
}

}  // namespace corvane
