// Saving a service's registry key and uninstalling a service, against the simulated computer:
// its registry editor writes the .reg file into the program folder's "registry entries".
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "corvane/engine/registry_backup.h"
#include "engine_fixture.h"
#include "platform/sim/reg_file.h"

using corvane::testing::TempFolder;

namespace corvane::testing {
namespace {

using platform::sim::RegistryKey;
using Texts = std::vector<std::string>;

// A registry editor that cannot be run, or one that runs and writes nothing.
class FakeProcesses : public platform::Processes {
 public:
  bool runs = false;
  std::vector<std::string> calls;

  bool startDetached(const std::string&, const std::vector<std::string>&, std::string&) override {
    return false;
  }
  bool runAndWait(const std::string& program, const std::string& commandLine,
                  std::string& errorText) override {
    calls.push_back(program + "|" + commandLine);
    if (!runs)
      errorText = "No such file or directory";
    return runs;
  }
};

// The computer's service control manager, refusing new connections once a service was deleted.
class NoReconnectScm : public platform::Scm {
 public:
  explicit NoReconnectScm(platform::Scm& scm) : scm_(scm) {}
  platform::ScHandle openSCManager(std::uint32_t access) override {
    if (deleted_) {
      error_ = platform::err::AccessDenied;
      return 0;
    }
    return scm_.openSCManager(access);
  }
  bool enumServicesStatus(platform::ScHandle manager, std::uint32_t types, std::uint32_t states,
                          std::size_t bufferSize, std::vector<platform::EnumServiceEntry>& entries,
                          std::size_t& bytesNeeded, std::uint32_t& resumeIndex) override {
    return scm_.enumServicesStatus(manager, types, states, bufferSize, entries, bytesNeeded,
                                   resumeIndex);
  }
  platform::ScHandle openService(platform::ScHandle manager, const std::string& name,
                                 std::uint32_t access) override {
    return scm_.openService(manager, name, access);
  }
  bool queryServiceConfig(platform::ScHandle service, std::size_t bufferSize,
                          platform::ServiceConfig& config, std::size_t& bytesNeeded) override {
    return scm_.queryServiceConfig(service, bufferSize, config, bytesNeeded);
  }
  bool queryServiceStatus(platform::ScHandle service, platform::ServiceStatus& status) override {
    return scm_.queryServiceStatus(service, status);
  }
  bool controlService(platform::ScHandle service, std::uint32_t control,
                      platform::ServiceStatus& status) override {
    return scm_.controlService(service, control, status);
  }
  bool startService(platform::ScHandle service) override { return scm_.startService(service); }
  bool changeServiceStartType(platform::ScHandle service, std::uint32_t startType) override {
    return scm_.changeServiceStartType(service, startType);
  }
  bool deleteService(platform::ScHandle service) override {
    deleted_ = scm_.deleteService(service);
    return deleted_;
  }
  bool closeServiceHandle(platform::ScHandle handle) override {
    return scm_.closeServiceHandle(handle);
  }
  std::uint32_t lastError() const override { return error_ ? error_ : scm_.lastError(); }

 private:
  platform::Scm& scm_;
  bool deleted_ = false;
  std::uint32_t error_ = 0;
};

class RegistryBackupTest : public EngineTest {
 protected:
  RegistryBackupTest() {
    program.InstallDir = folder.path();
    std::filesystem::create_directories(folder / "registry entries");
    AddService({"Alpha", "Alpha Service"});
    AddService({"Beta", "Beta Service", platform::start::Manual, {"Alpha"}});
    AddService({"Gamma", "Gamma Service"});
  }

  void Select(const std::string& name) {
    FillCatalogue();
    host().selectedService = name;
    host().events.clear();
    host().lines.clear();
  }
  std::filesystem::path BackupFile(const std::string& name) const {
    return folder / "registry entries" / (name + ".reg");
  }
  std::string BackupPathText(const std::string& name) const {
    return RegistryBackupFolder(folder.path()) + name + ".reg";
  }
  bool Installed(const std::string& name) {
    return hklm.find("SYSTEM\\CurrentControlSet\\Services\\" + name) != nullptr;
  }
  bool InCatalogue(const std::string& name) const {
    const Catalogue& catalogue = program.catalogue;
    return std::any_of(
        catalogue.ServiceTable.begin(),
        catalogue.ServiceTable.begin() + static_cast<std::ptrdiff_t>(catalogue.ServiceCount),
        [&](const ServiceRecord& record) { return record.ServiceName == name; });
  }
  // The console lines from the first that equals `from` on.
  Texts TextsFrom(const std::string& from) {
    const Texts& lines = host().lines;
    return {std::find(lines.begin(), lines.end(), from), lines.end()};
  }

  TempFolder folder;
};

TEST(RegistryExportCommandLine, NamesTheBackupFileAndTheServicesKeyInQuotes) {
  EXPECT_EQ(RegistryExportCommandLine("C:\\Corvane\\registry entries\\", "Alpha"),
            " /e \"C:\\Corvane\\registry entries\\Alpha.reg\" "
            "\"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Alpha\"");
  EXPECT_EQ(RegistryBackupFolder("C:\\Corvane"),
            std::string("C:\\Corvane") + PathSeparator + "registry entries" + PathSeparator);
}

TEST_F(RegistryBackupTest, BackupWritesTheKeyNamedFileAndShowsTheDisplayName) {
  Select("Alpha");
  RunRequest(ReqBackupRegEntry);

  const std::string bytes = TempFolder::readFile(BackupFile("Alpha"));
  RegistryKey imported("HKEY_LOCAL_MACHINE");
  platform::sim::importRegFile(bytes, "Alpha.reg", platform::RegRoot::LocalMachine, imported);
  const RegistryKey* alpha = imported.find("SYSTEM\\CurrentControlSet\\Services\\Alpha");
  ASSERT_NE(alpha, nullptr) << bytes;
  EXPECT_EQ(platform::sim::textOfData(alpha->value("DisplayName")->data), "Alpha Service");
  EXPECT_EQ(imported.find("SYSTEM\\CurrentControlSet\\Services\\Beta"), nullptr);

  EXPECT_EQ(host().lines,
            (Texts{"\nservice: Alpha Service", "\noperation: backup", "\ncalling regedit ...",
                   "\nentry saved in: " + BackupPathText("Alpha"),
                   "\nservice successfully backed up", "\n"}));
  EXPECT_EQ(host().Boxes(), (Texts{"main|Reg entry saved|Service name: Alpha Service\nReg entry "
                                   "saved in: " +
                                   RegistryBackupFolder(folder.path()) + "   "}));
  // The backup neither opens the console nor refreshes anything.
  EXPECT_EQ(host().Count("showConsole"), 0);
  EXPECT_EQ(host().Count("refreshCatalogue"), 0);
  EXPECT_TRUE(Installed("Alpha"));
}

TEST_F(RegistryBackupTest, BackupRunsTheRegistryEditorWithTheExportCommandLine) {
  FakeProcesses editor;
  editor.runs = true;
  processes = &editor;
  TempFolder::writeFile(BackupFile("Alpha"), "old");
  Select("Alpha");
  RunRequest(ReqBackupRegEntry);
  EXPECT_EQ(editor.calls,
            (Texts{"regedit.exe|" +
                   RegistryExportCommandLine(RegistryBackupFolder(program.InstallDir), "Alpha")}));
  // It ran but wrote nothing: the old file is no backup of this run.
  EXPECT_EQ(host().Boxes(),
            (Texts{"main|Error|Unable to save reg entry!\nService name: Alpha Service\nWhen trying "
                   "to run regedit encountered error:   \nthe registry editor did not write " +
                   BackupPathText("Alpha")}));
  EXPECT_EQ(TempFolder::readFile(BackupFile("Alpha")), "old");
}

TEST_F(RegistryBackupTest, BackupWithoutTheRegistryEditorShowsTheRunFailure) {
  FakeProcesses editor;
  processes = &editor;
  Select("Alpha");
  RunRequest(ReqBackupRegEntry);
  EXPECT_EQ(host().Boxes(),
            (Texts{"main|Error|Unable to save reg entry!\nService name: Alpha Service\nWhen trying "
                   "to run regedit encountered error:   \nNo such file or directory"}));
  EXPECT_EQ(host().lines,
            (Texts{"\nservice: Alpha Service", "\noperation: backup", "\ncalling regedit ..."}));
}

TEST_F(RegistryBackupTest, UninstallStopsTheTreeSavesTheKeyAndDeletesTheService) {
  RunService("Alpha");
  RunService("Beta");
  Select("Alpha");
  RunRequest(ReqUninstall);

  EXPECT_EQ(StateOf("Beta"), platform::state::Stopped);
  EXPECT_FALSE(Installed("Alpha"));
  EXPECT_TRUE(Installed("Beta"));
  // The ending's catalogue refresh dropped it.
  EXPECT_FALSE(InCatalogue("Alpha"));
  EXPECT_TRUE(InCatalogue("Beta"));
  EXPECT_EQ(host().events.back(), "button:on");
  EXPECT_GE(host().Count("refreshCatalogue"), 1);

  RegistryKey imported("HKEY_LOCAL_MACHINE");
  platform::sim::importRegFile(TempFolder::readFile(BackupFile("Alpha")), "Alpha.reg",
                               platform::RegRoot::LocalMachine, imported);
  EXPECT_NE(imported.find("SYSTEM\\CurrentControlSet\\Services\\Alpha"), nullptr);

  const Texts& lines = host().lines;
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(Texts(lines.begin(), lines.begin() + 3),
            (Texts{"\nservice: Alpha Service", "\noperation: uninstall",
                   "\nattempting to stop service"}));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "\ndependent -> stopping: Beta Service ..."),
            lines.end());
  EXPECT_EQ(TextsFrom("\nbacking up..."),
            (Texts{"\nbacking up...", "\nentry saved in: " + BackupPathText("Alpha"),
                   "\nuninstalling...", "\nservice successfully uninstalled", "\n"}));
}

TEST_F(RegistryBackupTest, UninstallOfAStoppedServiceSaysSoAndGoesOn) {
  Select("Gamma");
  RunRequest(ReqUninstall);
  EXPECT_EQ(Texts(host().lines.begin() + 3, host().lines.begin() + 5),
            (Texts{"\nalready stopped.", "\nbacking up..."}));
  EXPECT_FALSE(Installed("Gamma"));
  EXPECT_FALSE(InCatalogue("Gamma"));
  EXPECT_TRUE(std::filesystem::exists(BackupFile("Gamma")));
}

TEST_F(RegistryBackupTest, UninstallWithoutABackupIsAbortedAndTheServiceStays) {
  FakeProcesses missingEditor;
  FakeProcesses silentEditor;
  silentEditor.runs = true;
  for (FakeProcesses* editor : {&missingEditor, &silentEditor}) {
    processes = editor;
    RunService("Alpha");
    Select("Alpha");
    RunRequest(ReqUninstall);
    EXPECT_TRUE(Installed("Alpha"));
    EXPECT_EQ(StateOf("Alpha"), platform::state::Stopped);
    ASSERT_EQ(host().Boxes().size(), 1u);
    EXPECT_EQ(host().Boxes()[0].rfind("main|Error|Unable to save reg entry!\nService name: Alpha "
                                      "Service\nWhen trying to run regedit encountered error:   \n",
                                      0),
              0u)
        << host().Boxes()[0];
    EXPECT_EQ(TextsFrom("\nbacking up..."),
              (Texts{"\nbacking up...", "\nunable to save reg entry. uninstall aborted", "\n"}));
    // A quiet ending: no refresh.
    EXPECT_EQ(host().Count("refreshCatalogue"), 0);
  }
}

TEST_F(RegistryBackupTest, AMissingBackupFolderKeepsTheServiceInstalled) {
  std::filesystem::remove_all(folder / "registry entries");
  Select("Alpha");
  RunRequest(ReqUninstall);
  EXPECT_TRUE(Installed("Alpha"));
  EXPECT_FALSE(std::filesystem::exists(folder / "registry entries"));
  EXPECT_EQ(TextsFrom("\nbacking up...")[1], "\nunable to save reg entry. uninstall aborted");
}

TEST_F(RegistryBackupTest, ALostConnectionAfterTheDeletionEndsTheProgram) {
  Select("Gamma");
  NoReconnectScm scm(Scm());
  const WorkerContext context = Context(inlineUi);
  request.WorkerIdle = false;
  {
    batch worker(ReqUninstall,
                 WorkerContext{scm, context.clock, context.messages, context.host, context.ui,
                               context.program, context.request, context.processes});
    worker.Resume();
    worker.WaitFor();
  }
  EXPECT_FALSE(Installed("Gamma"));
  EXPECT_EQ(host().Boxes(), (Texts{"application|Fatal error|Fatal error:\nunable to reconnect to "
                                   "SCManager !\nPress 'Ok' to terminate."}));
  EXPECT_EQ(host().Count("terminate"), 1);
  EXPECT_EQ(TextsFrom("\nuninstalling..."), (Texts{"\nuninstalling...", "\n"}));
}

TEST_F(RegistryBackupTest, AServiceThatRefusesToStopIsStillSavedAndDeleted) {
  Behaviour("Gamma").acceptsStop = false;
  RunService("Gamma");
  Select("Gamma");
  RunRequest(ReqUninstall);
  const Texts& lines = host().lines;
  const auto notStopped = std::find(lines.begin(), lines.end(), "\nservice not stopped.");
  ASSERT_NE(notStopped, lines.end());
  EXPECT_NE(std::find(lines.begin(), notStopped, "\nerror: can't stop service Gamma Service"),
            notStopped);
  EXPECT_EQ(*(notStopped + 1), "\nbacking up...");
  EXPECT_TRUE(std::filesystem::exists(BackupFile("Gamma")));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "\nservice successfully uninstalled"),
            lines.end());
}

}  // namespace
}  // namespace corvane::testing
