#include "platform/sim/simulated_machine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "support/file_size_limit.h"
#include "support/temp_folder.h"
#include "platform/sim/reg_file.h"
#include "platform/sim/sim_machine_error.h"
#include "platform/sim/sim_service_behaviour.h"

using corvane::testing::FileSizeLimit;
using corvane::testing::TempFolder;

using namespace platform;
using namespace platform::sim;

namespace {

constexpr const char* kRegistry =
    "REGEDIT4\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
    "\"CurrentVersion\"=\"5.1\"\r\n"
    "\"CurrentBuildNumber\"=\"2600\"\r\n"
    "\"CSDVersion\"=\"Service Pack 2\"\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Alpha]\r\n"
    "\"Type\"=dword:00000010\r\n"
    "\"Start\"=dword:00000003\r\n"
    "\"ErrorControl\"=dword:00000001\r\n"
    "\"DisplayName\"=\"Alpha Service\"\r\n"
    "\"Description\"=\"Does alpha things.\"\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Alpha\\Parameters]\r\n"
    "\"Level\"=dword:00000002\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Beta]\r\n"
    "\"Type\"=dword:00000020\r\n"
    "\"Start\"=dword:00000003\r\n"
    "\"DependOnService\"=hex(7):41,6c,70,68,61,00,00\r\n"
    "\r\n";

constexpr const char* kServices =
    "[Alpha]\r\n"
    "State=stopped\r\n"
    "Accepts=stop,pause\r\n"
    "StartMs=3000\r\n"
    "CheckPoints=2\r\n"
    "WaitHint=2000\r\n"
    "\r\n"
    "[Gamma]\r\n"
    "State=running\r\n";

constexpr const char* kSystemLog =
    "[Log]\r\nNextRecord=2\r\n\r\n[1]\r\nType=4\r\nTime=2006-12-11 08:02:14\r\n"
    "Source=Service Control Manager\r\nEventID=7036\r\nString1=Alpha\r\nString2=running\r\n";

class SimMachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(machineFolder() / "eventlogs");
    TempFolder::writeFile(machineFolder() / "registry.reg", kRegistry);
    TempFolder::writeFile(machineFolder() / "services.ini", kServices);
    TempFolder::writeFile(machineFolder() / "eventlogs" / "System.ini", kSystemLog);
    TempFolder::writeFile(machineFolder() / "eventlogs" / "messages.ini",
                      "[Service Control Manager]\r\n7036=The %1 service entered the %2 state.\r\n");
  }

  std::filesystem::path machineFolder() const { return folder / "machine"; }

  std::unique_ptr<SimulatedMachine> openMachine() {
    return std::make_unique<SimulatedMachine>(machineFolder(), clock, folder / "user.reg");
  }

  std::string read(const char* name) const { return TempFolder::readFile(machineFolder() / name); }

  // Every file of the machine folder with its bytes.
  std::map<std::string, std::string> folderContent() const {
    std::map<std::string, std::string> content;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(machineFolder()))
      if (entry.is_regular_file())
        content[entry.path().string()] = TempFolder::readFile(entry.path());
    return content;
  }

  TempFolder folder;
  VirtualClock clock;
};

// Opens a service of a machine for the length of a test step.
class Service {
 public:
  Service(Platform& machine, const std::string& name, std::uint32_t access = access::ServiceAll)
      : scm_(machine.scm()) {
    manager_ = scm_.openSCManager(access::ScManagerAll);
    handle_ = scm_.openService(manager_, name, access);
  }
  ~Service() {
    if (handle_)
      scm_.closeServiceHandle(handle_);
    scm_.closeServiceHandle(manager_);
  }
  ScHandle handle() const { return handle_; }
  ServiceStatus status() {
    ServiceStatus answer;
    EXPECT_TRUE(scm_.queryServiceStatus(handle_, answer));
    return answer;
  }
  ServiceConfig config() {
    ServiceConfig answer;
    std::size_t needed = 0;
    EXPECT_TRUE(scm_.queryServiceConfig(handle_, 8192, answer, needed));
    return answer;
  }

 private:
  Scm& scm_;
  ScHandle manager_ = 0;
  ScHandle handle_ = 0;
};

TEST_F(SimMachineTest, AnswersEveryInterfaceFromTheFolder) {
  auto machine = openMachine();
  const OsVersion version = machine->systemInfo().version();
  EXPECT_TRUE(version.ntFamily);
  EXPECT_EQ(version.major, 5u);
  EXPECT_EQ(version.minor, 1u);
  EXPECT_EQ(version.build, 2600u);

  EXPECT_EQ(machine->registry().readText(
                RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Alpha", "Description"),
            "Does alpha things.");
  Service alpha(*machine, "Alpha");
  EXPECT_EQ(alpha.config().displayName, "Alpha Service");
  EXPECT_FALSE(machine->messages().messageText(1062).empty());

  std::uint32_t error = 0;
  auto system = machine->eventLogs().open("System", error);
  ASSERT_TRUE(system);
  EXPECT_EQ(*system->description(0), "The Alpha service entered the running state.");
  EXPECT_FALSE(machine->icons().firstIcon("C:\\WINDOWS\\system32\\services.exe"));
  EXPECT_EQ(&machine->clock(), &clock);
}

TEST_F(SimMachineTest, ComputerOutsideTheNtFamily) {
  TempFolder::writeFile(
      machineFolder() / "registry.reg",
      "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]"
      "\r\n\"VersionNumber\"=\"4.10.2222\"\r\n");
  const OsVersion version = openMachine()->systemInfo().version();
  EXPECT_FALSE(version.ntFamily);
  EXPECT_EQ(version.major, 4u);
  EXPECT_EQ(version.minor, 10u);
  EXPECT_EQ(version.build, 2222u);
}

TEST_F(SimMachineTest, StartTypesRunStatesAndDeletionsSurviveReopening) {
  {
    auto machine = openMachine();
    Service alpha(*machine, "Alpha");
    ASSERT_TRUE(machine->scm().changeServiceStartType(alpha.handle(), start::Automatic));
    ASSERT_TRUE(machine->scm().startService(alpha.handle()));
    EXPECT_EQ(alpha.status().currentState, state::StartPending);
    Service gamma(*machine, "Beta");
    ASSERT_TRUE(machine->scm().startService(gamma.handle()));
  }
  EXPECT_EQ(read("registry.reg").rfind("REGEDIT4\r\n", 0), 0u);
  {
    // A start in progress is kept as the state it leads to.
    auto machine = openMachine();
    Service alpha(*machine, "Alpha");
    EXPECT_EQ(alpha.config().startType, start::Automatic);
    EXPECT_EQ(alpha.status().currentState, state::Running);
    EXPECT_EQ(Service(*machine, "Beta").status().currentState, state::Running);
    // The rest of the services.ini section is kept.
    EXPECT_EQ(alpha.status().controlsAccepted, control::AcceptStop | control::AcceptPauseContinue);
    EXPECT_EQ(machine->registry().readBytes(
                  RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Alpha\\Parameters",
                  "Level", 4),
              dwordData(2));

    ServiceStatus answer;
    Service beta(*machine, "Beta");
    ASSERT_TRUE(machine->scm().controlService(beta.handle(), control::Stop, answer));
    ASSERT_TRUE(machine->scm().controlService(alpha.handle(), control::Pause, answer));
    Service forDelete(*machine, "Beta", access::Delete);
    ASSERT_TRUE(machine->scm().deleteService(forDelete.handle()));
  }
  auto machine = openMachine();
  EXPECT_EQ(Service(*machine, "Alpha").status().currentState, state::Paused);
  const ScHandle manager = machine->scm().openSCManager(access::ScManagerAll);
  EXPECT_EQ(machine->scm().openService(manager, "Beta", access::ServiceAll), 0u);
  EXPECT_EQ(machine->scm().lastError(), err::ServiceDoesNotExist);
  EXPECT_FALSE(machine->registry().keyExists(RegRoot::LocalMachine,
                                             "SYSTEM\\CurrentControlSet\\Services\\Beta"));
  EXPECT_EQ(read("services.ini").find("[Beta]"), std::string::npos);
  EXPECT_NE(read("services.ini").find("[Gamma]"), std::string::npos);
}

TEST_F(SimMachineTest, FailedSavesLeaveTheOldFilesAndAreRetried) {
  auto machine = openMachine();
  Service alpha(*machine, "Alpha");
  const std::string registryBefore = read("registry.reg");
  const std::string servicesBefore = read("services.ini");
  {
    FileSizeLimit limit(16);
    EXPECT_FALSE(machine->scm().changeServiceStartType(alpha.handle(), start::Disabled));
    EXPECT_EQ(machine->scm().lastError(), 1016u);
    // The run state of a start cannot be written either; the start itself happens.
    EXPECT_TRUE(machine->scm().startService(alpha.handle()));
  }
  EXPECT_EQ(read("registry.reg"), registryBefore);
  EXPECT_EQ(read("services.ini"), servicesBefore);
  EXPECT_EQ(alpha.config().startType, start::Manual);
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(machineFolder()))
    ++files;
  EXPECT_EQ(files, 3u);  // no temporary files left

  // The next change writes what could not be written before.
  Service beta(*machine, "Beta");
  clock.advance(3000);
  ASSERT_TRUE(machine->scm().startService(beta.handle()));
  const ServiceBehaviours kept = parseServiceBehaviours(read("services.ini"), "services.ini");
  EXPECT_EQ(kept.at("alpha").state, state::Running);
  EXPECT_EQ(kept.at("beta").state, state::Running);
}

TEST_F(SimMachineTest, UnloadableFilesNameFileAndLineAndWriteNothing) {
  struct Case {
    const char* what;
    const char* file;
    std::string content;  // empty: the file is removed
    std::string message;
  };
  const std::vector<Case> cases = {
      {"missing registry", "registry.reg", "", "registry.reg: "},
      {"malformed registry", "registry.reg",
       "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"x\"=hex:zz\r\n", "registry.reg, line 4"},
      {"key outside the machine", "registry.reg", "REGEDIT4\r\n\r\n[HKEY_USERS\\A]\r\n",
       "registry.reg, line 3"},
      {"bad state", "services.ini", "[Alpha]\r\nStartMs=10\r\nState=sleeping\r\n",
       "services.ini, line 3: State \"sleeping\""},
      {"bad outcome", "services.ini", "[Alpha]\r\nOutcome=fails:many\r\n",
       "services.ini, line 2: Outcome"},
      {"unknown key", "services.ini", "[Alpha]\r\nColour=red\r\n",
       "services.ini, line 2: unknown key \"Colour\""},
      {"binary services", "services.ini", std::string("[Alpha]\r\n\0\1\2", 12),
       "services.ini, line 2: binary data"},
      {"bad log", "eventlogs/System.ini", "[Log]\r\nNextRecord=x\r\n", "System.ini, line 2"},
  };
  for (const Case& c : cases) {
    SetUp();
    const std::filesystem::path file = machineFolder() / c.file;
    if (c.content.empty())
      std::filesystem::remove(file);
    else
      TempFolder::writeFile(file, c.content);
    const auto before = folderContent();
    try {
      openMachine();
      ADD_FAILURE() << c.what << ": loaded";
    } catch (const std::exception& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find(c.message), std::string::npos) << c.what << ": " << message;
    }
    EXPECT_EQ(folderContent(), before) << c.what;
  }
}

TEST_F(SimMachineTest, HugeServicesFileIsRefused) {
  TempFolder::writeFile(machineFolder() / "services.ini", "[Alpha]\r\n");
  std::filesystem::resize_file(machineFolder() / "services.ini", 17u * 1024 * 1024);
  try {
    openMachine();
    ADD_FAILURE() << "loaded";
  } catch (const MachineFileError& error) {
    EXPECT_NE(std::string(error.what()).find("services.ini"), std::string::npos) << error.what();
  }
}

TEST_F(SimMachineTest, RegistryEditorExportsAKeyInTheUnicodeFormat) {
  auto machine = openMachine();
  std::filesystem::create_directories(folder / "registry entries");
  const std::string target = folder.path() + "\\registry entries\\Alpha.reg";
  std::string errorText;
  ASSERT_TRUE(machine->processes().runAndWait(
      "regedit.exe",
      "/e \"" + target + "\" \"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Alpha\"",
      errorText))
      << errorText;
  const std::string bytes = TempFolder::readFile(folder / "registry entries" / "Alpha.reg");
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  RegistryKey imported("HKEY_LOCAL_MACHINE");
  EXPECT_EQ(importRegFile(bytes, "Alpha.reg", RegRoot::LocalMachine, imported),
            RegFileFormat::Version5);
  const RegistryKey* alpha = imported.find("SYSTEM\\CurrentControlSet\\Services\\Alpha");
  ASSERT_TRUE(alpha);
  EXPECT_EQ(textOfData(alpha->value("DisplayName")->data), "Alpha Service");
  EXPECT_TRUE(alpha->find("Parameters"));
  EXPECT_FALSE(imported.find("SYSTEM\\CurrentControlSet\\Services\\Beta"));

  // A key that does not exist: the editor ends without writing anything.
  EXPECT_TRUE(machine->processes().runAndWait(
      "C:\\WINDOWS\\regedit.exe",
      "/e \"" + folder.path() + "/none.reg\" \"HKEY_LOCAL_MACHINE\\SYSTEM\\Nothing\"",
      errorText));
  EXPECT_FALSE(std::filesystem::exists(folder / "none.reg"));
}

TEST_F(SimMachineTest, OtherProgramsRunForReal) {
  auto machine = openMachine();
  const std::filesystem::path output = folder / "out.txt";
  std::string errorText;
  ASSERT_TRUE(machine->processes().runAndWait("sh", "-c \"echo ran > '" + output.string() + "'\"",
                                              errorText))
      << errorText;
  EXPECT_EQ(TempFolder::readFile(output), "ran\n");

  EXPECT_FALSE(machine->processes().runAndWait("corvane-no-such-program", "", errorText));
  EXPECT_EQ(errorText, "No such file or directory");
  EXPECT_FALSE(machine->processes().startDetached("corvane-no-such-program", {}, errorText));
  EXPECT_EQ(errorText, "No such file or directory");
  EXPECT_TRUE(machine->processes().startDetached("true", {"ignored"}, errorText));
}

TEST(CommandLineArguments, SplitsAsThePlatformDoes) {
  struct Case {
    const char* line;
    std::vector<std::string> arguments;
  };
  const Case cases[] = {
      {"/e \"a b.reg\" \"HKEY_LOCAL_MACHINE\\X\"", {"/e", "a b.reg", "HKEY_LOCAL_MACHINE\\X"}},
      {"  one   two ", {"one", "two"}},
      {"C:\\dir\\file", {"C:\\dir\\file"}},
      {"\"a\\\"b\"", {"a\"b"}},
      {"\"a\\\\\" b", {"a\\", "b"}},
      {"\"\"", {""}},
      {"", {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(commandLineArguments(c.line), c.arguments) << c.line;
  EXPECT_EQ(linuxPathOf("Z:\\home\\x\\a.reg"), std::filesystem::path("/home/x/a.reg"));
  EXPECT_EQ(linuxPathOf("/opt/corvane\\registry entries\\a.reg"),
            std::filesystem::path("/opt/corvane/registry entries/a.reg"));
}

TEST(ShippedMachine, LoadsAndAnswersForEveryService) {
  TempFolder folder;
  std::filesystem::copy(std::filesystem::path(CORVANE_DATA_DIR) / "machine", folder / "machine",
                        std::filesystem::copy_options::recursive);
  VirtualClock clock;
  SimulatedMachine machine(folder / "machine", clock, folder / "user.reg");
  EXPECT_TRUE(machine.systemInfo().version().ntFamily);
  for (const char* log : {"Application", "Security", "System"}) {
    std::uint32_t error = 0;
    EXPECT_TRUE(machine.eventLogs().open(log, error)) << log;
  }
  const std::string services = "SYSTEM\\CurrentControlSet\\Services";
  std::size_t serviceKeys = 0;
  for (const std::string& name : machine.registry().subkeyNames(RegRoot::LocalMachine, services))
    if (machine.registry().valueKind(RegRoot::LocalMachine, services + "\\" + name, "Type"))
      ++serviceKeys;

  Scm& scm = machine.scm();
  const ScHandle manager = scm.openSCManager(access::ScManagerAll);
  std::vector<EnumServiceEntry> entries;
  std::size_t needed = 0;
  std::uint32_t resume = 0;
  while (!scm.enumServicesStatus(manager, svctype::AllEnumerated, state::EnumAll, 36000, entries,
                                 needed, resume))
    ASSERT_EQ(scm.lastError(), err::MoreData);
  EXPECT_GT(entries.size(), 100u);
  EXPECT_LE(entries.size(), serviceKeys);
  for (const EnumServiceEntry& entry : entries) {
    Service service(machine, entry.serviceName);
    EXPECT_LE(service.config().startType, start::Disabled) << entry.serviceName;
  }
}

TEST_F(SimMachineTest, DefaultMachineComesFromTheEnvironment) {
  setenv("CORVANE_MACHINE", machineFolder().c_str(), 1);
  auto machine = openDefaultMachine();
  unsetenv("CORVANE_MACHINE");
  ASSERT_TRUE(machine);
  EXPECT_EQ(machine->folder(), machineFolder());
  EXPECT_TRUE(machine->systemInfo().version().ntFamily);
}

}  // namespace
