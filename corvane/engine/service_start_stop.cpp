#include "corvane/engine/service_start_stop.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "common/text.h"
#include "corvane/engine/Thread_batch.h"
#include "corvane/engine/service_handle.h"
#include "corvane/engine/service_wait.h"

namespace corvane {

namespace {

constexpr const char* NoneEntry = " - none - ";

// What a routine needs of a catalogue record, copied so that nothing refers into the table.
struct ServiceEntry {
  std::string serviceName;
  std::string displayName;
  std::uint32_t startType = 0;
  std::vector<std::string> dependencies;
  std::vector<std::string> dependents;
};

std::optional<ServiceEntry> FindService(const Catalogue& catalogue, const std::string& name) {
  for (std::size_t i = 0; i < catalogue.ServiceCount; ++i) {
    const ServiceRecord& record = catalogue.ServiceTable[i];
    if (common::equalsIgnoreCase(record.ServiceName, name)) {
      return ServiceEntry{record.ServiceName, record.DisplayName, record.StartType,
                          record.Dependencies, record.Dependents};
    }
  }
  return std::nullopt;
}

bool ListsNothing(const std::vector<std::string>& entries) {
  return entries.empty() || entries.front() == NoneEntry;
}

// The services whose routine is running further up this tree. A catalogue whose dependencies
// form a circle (the platform refuses them, a damaged registry may hold one) would otherwise
// recurse without end.
using TreePath = std::vector<std::string>;

bool OnPath(const TreePath& path, const std::string& name) {
  return std::any_of(path.begin(), path.end(), [&](const std::string& entry) {
    return common::equalsIgnoreCase(entry, name);
  });
}

// The service a tree routine acts on: found in the catalogue, opened and its status read. Each
// failing step is reported as both trees report it; the object then tests false.
class TreeService {
 public:
  TreeService(batch& worker, const std::string& name) {
    platform::Scm& scm = worker.Context().scm;
    entry_ = FindService(worker.Services(), name);
    if (!entry_) {
      worker.ShowMessageBox(BoxOwner::Application, "error finding service !", "error");
      return;
    }
    service_.emplace(scm, worker.Request().ScmHandle, entry_->serviceName, handle_);
    if (!*service_) {
      worker.ConsoleWriteError("\nerror: can't open service " + entry_->displayName,
                               scm.lastError());
      return;
    }
    if (!scm.queryServiceStatus(service_->Handle(), status_)) {
      worker.ConsoleWriteError("\nerror querying status - service state not changed !",
                               scm.lastError());
      return;
    }
    ready_ = true;
  }
  TreeService(const TreeService&) = delete;
  TreeService& operator=(const TreeService&) = delete;

  explicit operator bool() const { return ready_; }
  const ServiceEntry& Entry() const { return *entry_; }
  platform::ScHandle Handle() const { return service_->Handle(); }
  platform::ServiceStatus& Status() { return status_; }

 private:
  std::optional<ServiceEntry> entry_;
  platform::ScHandle handle_ = 0;
  std::optional<OpenedService> service_;
  platform::ServiceStatus status_;
  bool ready_ = false;
};

std::int32_t Stop(batch& worker, const std::string& name, bool top, TreePath& path);

std::int32_t Start(batch& worker, const std::string& name, bool top, TreePath& path) {
  platform::Scm& scm = worker.Context().scm;
  TreeService service(worker, name);
  if (!service)
    return -1;
  const ServiceEntry& entry = service.Entry();
  const std::string& display = entry.displayName;
  platform::ServiceStatus& status = service.Status();
  if (status.currentState == platform::state::Running) {
    worker.ConsoleWrite(top ? "\nalready running."
                            : "\ndependency -> " + display + ": already running.");
    return 0;
  }
  if (entry.startType == platform::start::Disabled) {
    worker.ConsoleWrite("\n" + display + ":");
    worker.ConsoleWrite(" changing starttype to manual ...");
    if (!scm.changeServiceStartType(service.Handle(), platform::start::Manual)) {
      worker.ConsoleWriteError("\nunable to update config !", scm.lastError());
      return -1;
    }
    worker.ConsoleWrite(" done.");
  }
  if (!ListsNothing(entry.dependencies)) {
    path.push_back(entry.serviceName);
    for (const std::string& dependency : entry.dependencies) {
      if (common::equalsIgnoreCase(std::string_view(dependency).substr(0, 3),
                                   GroupDependencyPrefix)) {
        worker.ConsoleWrite("\ndependent on a group: " + dependency.substr(3));
        continue;
      }
      const std::optional<ServiceEntry> needed = FindService(worker.Services(), dependency);
      if (!needed) {
        worker.ConsoleWrite("\nerror dependency not found: " + dependency);
      } else if (OnPath(path, needed->serviceName)) {
        worker.ConsoleWrite("\nerror circular dependency: " + dependency);
      } else if (Start(worker, needed->serviceName, false, path) == -1) {
        worker.ConsoleWrite("\nerror starting dependency: " + dependency);
      }
    }
    path.pop_back();
  }
  worker.AdvanceConsoleProgress(ProgressStep);
  if (!scm.startService(service.Handle())) {
    worker.ConsoleWriteError("\nerror: can't start service " + display, scm.lastError());
    return -1;
  }
  worker.ConsoleWrite(top ? "\nstarting: " + display + " ..."
                          : "\ndependency -> starting: " + display + " ...");
  const PendingWaitResult wait = WaitWhilePending(
      worker, service.Handle(), platform::state::StartPending, platform::state::Running,
      {"\nservice pending timed out.", "\nerror querying status !",
       "\nservice did not respond in a timely fashion."},
      status);
  if (wait == PendingWaitResult::Failed)
    return -1;
  if (wait == PendingWaitResult::Settled && status.currentState != platform::state::Running) {
    if (status.currentState == platform::state::Stopped && status.win32ExitCode == 0) {
      worker.ConsoleWrite(
          "\nservice started and then stopped. some services stop automatically if they have "
          "nothing to do.");
    } else {
      worker.ConsoleWriteError("\nerror: service did not start", status.win32ExitCode);
    }
    return -1;
  }
  worker.ConsoleWrite(top ? "\nservice successfully started." : " done.");
  return 0;
}

std::int32_t Stop(batch& worker, const std::string& name, bool top, TreePath& path) {
  platform::Scm& scm = worker.Context().scm;
  TreeService service(worker, name);
  if (!service)
    return -1;
  const ServiceEntry& entry = service.Entry();
  const std::string& display = entry.displayName;
  platform::ServiceStatus& status = service.Status();
  if (status.currentState == platform::state::Stopped) {
    worker.ConsoleWrite(top ? "\nalready stopped."
                            : "\ndependent -> " + display + ": not running.");
    return 0;
  }
  if (!ListsNothing(entry.dependents)) {
    path.push_back(entry.serviceName);
    for (const std::string& dependent : entry.dependents) {
      const std::optional<ServiceEntry> user = FindService(worker.Services(), dependent);
      if (!user) {
        worker.ConsoleWrite("\nerror dependent not found: " + dependent);
      } else if (OnPath(path, user->serviceName)) {
        worker.ConsoleWrite("\nerror circular dependency: " + dependent);
      } else if (Stop(worker, user->serviceName, false, path) == -1) {
        worker.ConsoleWrite("\nerror stopping dependent: " + dependent);
      }
    }
    path.pop_back();
  }
  worker.AdvanceConsoleProgress(ProgressStep);
  if (!scm.controlService(service.Handle(), platform::control::Stop, status)) {
    worker.ConsoleWriteError("\nerror: can't stop service " + display, scm.lastError());
    return -1;
  }
  worker.ConsoleWrite(top ? "\nstopping: " + display + " ..."
                          : "\ndependent -> stopping: " + display + " ...");
  const PendingWaitResult wait = WaitWhilePending(
      worker, service.Handle(), platform::state::StopPending, platform::state::Stopped,
      {"\nservice pending timed out !", "\nerror querying status !",
       "\nservice did not respond in a timely fashion."},
      status);
  if (wait == PendingWaitResult::Failed)
    return -1;
  if (wait == PendingWaitResult::Settled && status.currentState != platform::state::Stopped) {
    worker.ConsoleWriteError("\nerror: service did not stop !", status.win32ExitCode);
    return -1;
  }
  worker.ConsoleWrite(top ? "\nservice successfully stopped." : " done.");
  return 0;
}

}  // namespace

std::int32_t StartWithDependencies(batch& worker, const std::string& serviceName, bool topLevel) {
  TreePath path;
  return Start(worker, serviceName, topLevel, path);
}

std::int32_t StopWithDependents(batch& worker, const std::string& serviceName, bool topLevel) {
  TreePath path;
  return Stop(worker, serviceName, topLevel, path);
}

}  // namespace corvane
