#include "corvane/engine/registry_backup.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "corvane/engine/Thread_batch.h"
#include "corvane/engine/service_start_stop.h"

namespace corvane {

namespace {

const char* const RegistryEditor = "regedit.exe";
const char* const ServicesKey = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\";

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// What is at a path before the export, to tell afterwards whether the editor wrote it.
struct FileStamp {
  std::uintmax_t size = 0;
  std::filesystem::file_time_type written;
  bool operator==(const FileStamp&) const = default;
};

std::optional<FileStamp> StampOf(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error))
    return std::nullopt;
  FileStamp stamp;
  stamp.size = std::filesystem::file_size(file, error);
  stamp.written = std::filesystem::last_write_time(file, error);
  if (error)
    return std::nullopt;
  return stamp;
}

std::string BackupFileOf(batch& worker) {
  return RegistryBackupFolder(worker.Context().program.InstallDir) +
         worker.Request().RequestServiceName + ".reg";
}

// Runs the registry editor's export of the request's service. False, with the reason, when the
// editor could not be run or did not write the backup file: a backup that is not there is not
// reported as saved.
bool ExportServiceKey(batch& worker, std::string& errorText) {
  const std::string& keyName = worker.Request().RequestServiceName;
  if (keyName.find('"') != std::string::npos) {
    errorText = "the service name cannot be a file name";
    return false;
  }
  const std::string backupFile = BackupFileOf(worker);
  const std::optional<FileStamp> before = StampOf(PathOf(backupFile));
  const std::string commandLine =
      RegistryExportCommandLine(RegistryBackupFolder(worker.Context().program.InstallDir), keyName);
  if (!worker.Context().processes.runAndWait(RegistryEditor, commandLine, errorText))
    return false;
  const std::optional<FileStamp> after = StampOf(PathOf(backupFile));
  if (!after || after == before) {
    errorText = "the registry editor did not write " + backupFile;
    return false;
  }
  return true;
}

void ShowBackupError(batch& worker, const std::string& errorText) {
  worker.ShowMessageBox(
      BoxOwner::MainWindow,
      "Unable to save reg entry!\nService name: " + worker.Request().RequestDisplayName +
          "\nWhen trying to run regedit encountered error:   \n" + errorText,
      "Error", DialogIcon::Error);
}

}  // namespace

std::string RegistryBackupFolder(const std::string& installDir) {
  return installDir + PathSeparator + "registry entries" + PathSeparator;
}

std::string RegistryExportCommandLine(const std::string& backupFolder, const std::string& keyName) {
  return " /e \"" + backupFolder + keyName + ".reg\" \"" + ServicesKey + keyName + "\"";
}

void BackupRegEntryRequest(batch& worker) {
  worker.ResolveSelectedService();
  worker.ConsoleProgressToMinimum();
  const RequestState& request = worker.Request();
  worker.ConsoleWrite("\nservice: " + request.RequestDisplayName);
  worker.ConsoleWrite("\noperation: backup");
  worker.ConsoleWrite("\ncalling regedit ...");
  std::string errorText;
  if (!ExportServiceKey(worker, errorText)) {
    ShowBackupError(worker, errorText);
    worker.EndQuietly();
    return;
  }
  const std::string& installDir = worker.Context().program.InstallDir;
  worker.ShowMessageBox(BoxOwner::MainWindow,
                        "Service name: " + request.RequestDisplayName +
                            "\nReg entry saved in: " + RegistryBackupFolder(installDir) + "   ",
                        "Reg entry saved", DialogIcon::Information);
  worker.ConsoleWrite("\nentry saved in: " + BackupFileOf(worker));
  worker.ConsoleWrite("\nservice successfully backed up");
  worker.ConsoleWrite("\n");
  worker.EndQuietly();
}

void UninstallRequest(batch& worker) {
  const WorkerContext& context = worker.Context();
  RequestState& request = worker.Request();
  worker.ResolveSelectedService();
  worker.ConsoleProgressToMinimum();
  worker.ConsoleWrite("\nservice: " + request.RequestDisplayName);
  worker.ConsoleWrite("\noperation: uninstall");
  worker.ConsoleWrite("\nattempting to stop service");
  const std::string name = request.RequestServiceName;
  if (StopWithDependents(worker, name, true) == -1)
    worker.ConsoleWrite("\nservice not stopped.");

  worker.ConsoleWrite("\nbacking up...");
  context.clock.sleep(MinPollInterval);
  std::string errorText;
  if (!ExportServiceKey(worker, errorText)) {
    ShowBackupError(worker, errorText);
    worker.ConsoleWrite("\nunable to save reg entry. uninstall aborted");
    worker.ConsoleWrite("\n");
    worker.EndQuietly();
    return;
  }
  worker.ConsoleWrite("\nentry saved in: " + BackupFileOf(worker));
  worker.ConsoleWrite("\nuninstalling...");

  platform::Scm& scm = context.scm;
  request.ServiceHandle = scm.openService(request.ScmHandle, name, platform::access::Delete);
  if (request.ServiceHandle == 0)
    worker.ConsoleWrite("\nerror opening service");
  if (!scm.deleteService(request.ServiceHandle)) {
    worker.ConsoleWrite("\nerror uninstalling service");
  } else {
    if (request.ScmHandle != 0)
      scm.closeServiceHandle(request.ScmHandle);
    context.clock.sleep(MinPollInterval);
    request.ScmHandle = scm.openSCManager(platform::access::ScManagerAll);
    request.ScmAvailable = request.ScmHandle != 0;
    if (!request.ScmAvailable) {
      worker.ShowMessageBox(BoxOwner::Application,
                            "Fatal error:\nunable to reconnect to SCManager !\nPress 'Ok' to "
                            "terminate.",
                            "Fatal error", DialogIcon::None);
      worker.OnUiThread([&] { context.host.TerminateApplication(); });
    } else {
      worker.ConsoleWrite("\nservice successfully uninstalled");
    }
  }
  if (request.ServiceHandle != 0)
    scm.closeServiceHandle(request.ServiceHandle);
  request.ServiceHandle = 0;
  worker.ConsoleProgressToMaximum();
  worker.ConsoleWrite("\n");
  worker.EndWithRefresh();
}

}  // namespace corvane
