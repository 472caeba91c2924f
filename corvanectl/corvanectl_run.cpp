#include "corvanectl/corvanectl_run.h"

#include <cstdlib>
#include <memory>
#include <mutex>

#include "common/text.h"
#include "corvane/catalogue/refresh_catalogue.h"
#include "corvane/shell/file_paths.h"
#include "corvane/shell/install_dir.h"
#include "corvanectl/catalogue_csv.h"
#include "corvanectl/ctl_command_line.h"
#include "corvanectl/stream_dialogs.h"
#include "platform/clock.h"
#ifdef _WIN32
#include "platform/win32/win32_platform.h"
#else
#include "platform/sim/simulated_machine.h"
#endif

namespace corvanectl {

namespace {

int printCatalogue(platform::Platform& computer, const Options& options, std::ostream& out,
                   std::ostream& err) {
  platform::Scm& scm = computer.scm();
  const platform::ScHandle manager = scm.openSCManager(platform::access::ScManagerAll);
  if (manager == 0) {
    const std::uint32_t error = scm.lastError();
    err << "corvanectl: unable to open the service control manager: error " << error << ": "
        << common::trim(computer.messages().messageText(error)) << '\n';
    return ExitFailed;
  }
  StreamDialogs dialogs(err);
  corvane::Catalogue catalogue;
  std::vector<platform::EnumServiceEntry> enumBuffer;
  platform::ServiceConfig configBuffer;
  platform::ServiceStatus statusBuffer;
  corvane::RefreshCatalogue(
      {scm, computer.registry(), dialogs, true, manager, enumBuffer, configBuffer, statusBuffer},
      catalogue);
  scm.closeServiceHandle(manager);
  if (options.command == Command::List) {
    writeServiceList(out, catalogue, options.filter);
  } else {
    writeGroups(out, catalogue);
  }
  out.flush();
  return dialogs.reported() ? ExitFailed : ExitOk;
}

}  // namespace

#ifdef _WIN32

Environment programEnvironment(const char*) {
  return {};
}

std::filesystem::path machineFolder(const Environment&) {
  return {};
}

int runCorvanectl(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                  const Environment&) {
  std::string error;
  const Options options = parseCommandLine(arguments, error);
  if (!error.empty()) {
    err << "corvanectl: " << error << "\n\n" << UsageText;
    return ExitUsage;
  }
  if (options.command == Command::Help) {
    out << UsageText;
    return ExitOk;
  }
  if (options.machineFolder) {
    err << "corvanectl: --machine needs the simulated computer, which the Windows build does "
           "not have\n";
    return ExitUsage;
  }
  const std::unique_ptr<platform::Platform> computer = platform::win32::openWindowsPlatform();
  return printCatalogue(*computer, options, out, err);
}

#else

Environment programEnvironment(const char* argv0) {
  Environment environment;
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  environment.programFolder =
      error ? std::filesystem::absolute(argv0 ? argv0 : "", error).parent_path()
            : program.parent_path();
  environment.userRegistryFile = platform::sim::SimRegistry::defaultUserFile();
  if (const char* named = std::getenv("CORVANE_MACHINE"); named && *named) {
    environment.namedMachine = named;
  }
  return environment;
}

std::filesystem::path machineFolder(const Environment& environment) {
  if (environment.namedMachine)
    return *environment.namedMachine;
  // The per-user hive alone: InstallDir is read before any computer is open.
  platform::sim::RegistryKey noMachine("HKEY_LOCAL_MACHINE");
  std::recursive_mutex lock;
  platform::sim::SimRegistry registry(
      noMachine, lock, [] {}, environment.userRegistryFile);
  const std::optional<std::string> installDir = registry.readText(
      platform::RegRoot::CurrentUser, corvane::PerUserKey, corvane::InstallDirValue);
  if (installDir && *installDir != "0") {
    const std::filesystem::path installed = corvane::pathOf(*installDir) / "machine";
    std::error_code error;
    if (std::filesystem::is_directory(installed, error))
      return installed;
  }
  return environment.programFolder / "machine";
}

int runCorvanectl(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                  const Environment& environment) {
  std::string error;
  const Options options = parseCommandLine(arguments, error);
  if (!error.empty()) {
    err << "corvanectl: " << error << "\n\n" << UsageText;
    return ExitUsage;
  }
  if (options.command == Command::Help) {
    out << UsageText;
    return ExitOk;
  }
  const std::filesystem::path folder =
      options.machineFolder ? corvane::pathOf(*options.machineFolder) : machineFolder(environment);
  platform::RealClock clock;
  std::unique_ptr<platform::sim::SimulatedMachine> computer;
  try {
    computer = std::make_unique<platform::sim::SimulatedMachine>(folder, clock,
                                                                 environment.userRegistryFile);
  } catch (const std::exception& failure) {
    err << "corvanectl: cannot open the simulated computer in '" << corvane::textOf(folder)
        << "': " << failure.what() << '\n';
    return ExitFailed;
  }
  return printCatalogue(*computer, options, out, err);
}

#endif

}  // namespace corvanectl
