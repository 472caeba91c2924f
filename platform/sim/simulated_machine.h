// A whole NT computer kept in a folder (see README.md beside this file): every platform interface
// answered from it, every change written back into it.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/sim/message_table.h"
#include "platform/sim/registry_tree.h"
#include "platform/sim/sim_event_logs.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_scm.h"

namespace platform::sim {

// The Windows version the computer's registry gives.
class SimSystemInfo : public SystemInfo {
 public:
  explicit SimSystemInfo(Registry& registry) : registry_(registry) {}
  OsVersion version() override;

 private:
  Registry& registry_;
};

// Programs run as Linux programs; the registry editor's export ("regedit.exe /e file key") is
// done by the computer itself.
class SimProcesses : public Processes {
 public:
  explicit SimProcesses(SimRegistry& registry) : registry_(registry) {}
  bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                     std::string& errorText) override;
  bool runAndWait(const std::string& program, const std::string& commandLine,
                  std::string& errorText) override;

 private:
  bool runRegistryEditor(const std::string& commandLine, std::string& errorText);
  SimRegistry& registry_;
};

// The simulated computer has no executable files, so no icons.
class SimIcons : public Icons {
 public:
  std::optional<IconImage> firstIcon(const std::string&) override { return std::nullopt; }
};

// A path as a Windows program passes it, as a Linux path: both separators, and Wine's "Z:" drive
// for the Linux root.
std::filesystem::path linuxPathOf(const std::string& windowsPath);
// The arguments of a command line, split by the platform's rules for quotes and backslashes.
std::vector<std::string> commandLineArguments(const std::string& commandLine);

class SimulatedMachine : public Platform {
 public:
  // Loads the computer in `folder`; throws MachineFileError (or RegFileError) naming the file and
  // line of what cannot be loaded, before anything is written. `clock` outlives the machine.
  SimulatedMachine(const std::filesystem::path& folder, Clock& clock,
                   const std::filesystem::path& userRegistryFile = SimRegistry::defaultUserFile());
  ~SimulatedMachine() override;

  Scm& scm() override { return *scm_; }
  Registry& registry() override { return *registry_; }
  EventLogs& eventLogs() override { return *eventLogs_; }
  SystemInfo& systemInfo() override { return *systemInfo_; }
  SystemMessages& messages() override { return messages_; }
  Clock& clock() override { return clock_; }
  Processes& processes() override { return *processes_; }
  Icons& icons() override { return icons_; }

  const std::filesystem::path& folder() const { return folder_; }

 private:
  bool saveRegistry();
  void keepRunState(const std::string& serviceName, std::optional<std::uint32_t> state);
  bool saveRunStates();

  std::filesystem::path folder_;
  Clock& clock_;
  RegistryKey hklm_{"HKEY_LOCAL_MACHINE"};
  std::recursive_mutex hklmLock_;
  bool registryUnsaved_ = false;
  // Run states (nothing: the section goes) not yet written to services.ini, by service name.
  std::map<std::string, std::optional<std::uint32_t>> unsavedRunStates_;
  MessageTable messages_;
  SimIcons icons_;
  std::unique_ptr<SimEventLogs> eventLogs_;
  std::unique_ptr<SimRegistry> registry_;
  std::unique_ptr<SimScm> scm_;
  std::unique_ptr<SimSystemInfo> systemInfo_;
  std::unique_ptr<SimProcesses> processes_;
};

// The computer the programs use: the folder named by CORVANE_MACHINE when it is set, otherwise
// the folder "machine" beside the running program; on the machine's own clock.
std::unique_ptr<SimulatedMachine> openDefaultMachine();

}  // namespace platform::sim
