#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <sstream>

#include "common/atomic_file.h"
#include "corvane/shell/install_dir.h"
#include "corvanectl/catalogue_csv.h"
#include "corvanectl/corvanectl_run.h"
#include "corvanectl/ctl_command_line.h"
#include "platform/sim/sim_registry.h"
#include "support/temp_folder.h"

namespace corvanectl {
namespace {

using corvane::testing::TempFolder;
using ::testing::HasSubstr;

TEST(CtlCommandLineTest, ArgumentsAndTheirFaults) {
  struct Case {
    std::vector<std::string> arguments;
    std::string error;  // empty: valid
    Command command;
    ListFilter filter;
    std::optional<std::string> machine;
  };
  const std::vector<Case> cases = {
      {{"list"}, "", Command::List, ListFilter::Services, std::nullopt},
      {{"list", "--filter", "fs"}, "", Command::List, ListFilter::FileSystemDrivers, std::nullopt},
      {{"--machine", "m", "list", "--filter", "kernel"},
       "",
       Command::List,
       ListFilter::KernelDrivers,
       "m"},
      {{"list", "--filter", "all", "--machine", "m"}, "", Command::List, ListFilter::All, "m"},
      {{"groups"}, "", Command::Groups, ListFilter::Services, std::nullopt},
      {{"--help"}, "", Command::Help, ListFilter::Services, std::nullopt},
      {{"list", "--help"}, "", Command::Help, ListFilter::Services, std::nullopt},
      {{}, "no command given", Command::Help, ListFilter::Services, std::nullopt},
      {{"lst"}, "unknown command lst", Command::Help, ListFilter::Services, std::nullopt},
      {{"list", "groups"},
       "unexpected argument groups",
       Command::Help,
       ListFilter::Services,
       std::nullopt},
      {{"list", "--filter"},
       "--filter takes services, fs, kernel or all",
       Command::Help,
       ListFilter::Services,
       std::nullopt},
      {{"list", "--filter", "drivers"},
       "--filter takes services, fs, kernel or all",
       Command::Help,
       ListFilter::Services,
       std::nullopt},
      {{"groups", "--filter", "all"},
       "--filter belongs to the command list",
       Command::Help,
       ListFilter::Services,
       std::nullopt},
      {{"list", "--machine"},
       "--machine needs a folder",
       Command::Help,
       ListFilter::Services,
       std::nullopt},
      {{"list", "--verbose"},
       "unknown option --verbose",
       Command::Help,
       ListFilter::Services,
       std::nullopt},
  };
  for (const Case& c : cases) {
    const std::string what = ::testing::PrintToString(c.arguments);
    std::string error;
    const Options options = parseCommandLine(c.arguments, error);
    EXPECT_EQ(error, c.error) << what;
    if (!c.error.empty())
      continue;
    EXPECT_EQ(options.command, c.command) << what;
    EXPECT_EQ(options.filter, c.filter) << what;
    EXPECT_EQ(options.machineFolder, c.machine) << what;
  }
}

TEST(CsvTest, FieldsAreQuotedOnlyWhenTheyMustBe) {
  struct Case {
    std::string text, field;
  };
  for (const Case& c : {Case{"plain", "plain"}, Case{"", ""}, Case{" - none - ", " - none - "},
                        Case{"a,b", "\"a,b\""}, Case{"say \"hi\"", "\"say \"\"hi\"\"\""},
                        Case{"two\nlines", "\"two\nlines\""}, Case{"cr\r", "\"cr\r\""}}) {
    EXPECT_EQ(csvField(c.text), c.field) << c.text;
  }
}

TEST(CsvTest, FiltersAsTheServiceList) {
  struct Case {
    std::int32_t type;
    bool services, fs, kernel;
  };
  for (const Case& c :
       {Case{1, false, false, true}, Case{2, false, true, false}, Case{8, true, false, false},
        Case{0x110, true, false, false}, Case{0, true, false, false}}) {
    EXPECT_EQ(passesFilter(c.type, ListFilter::Services), c.services) << c.type;
    EXPECT_EQ(passesFilter(c.type, ListFilter::FileSystemDrivers), c.fs) << c.type;
    EXPECT_EQ(passesFilter(c.type, ListFilter::KernelDrivers), c.kernel) << c.type;
    EXPECT_TRUE(passesFilter(c.type, ListFilter::All)) << c.type;
  }
}

// A copy of the small computer of data/small, so that nothing the program writes touches it.
class CorvanectlTest : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string machine = folder.path("machine");
  Environment environment;
  std::string out, err;

  CorvanectlTest() {
    std::filesystem::copy(std::string(CORVANE_TEST_DATA) + "/small", machine,
                          std::filesystem::copy_options::recursive);
    environment.programFolder = folder.path("program");
    environment.userRegistryFile = folder.path("config/user.reg");
  }

  int run(std::vector<std::string> arguments) {
    std::ostringstream outStream, errStream;
    const int code = runCorvanectl(arguments, outStream, errStream, environment);
    out = outStream.str();
    err = errStream.str();
    return code;
  }

  void storeInstallDir(const std::string& installDir) {
    platform::sim::RegistryKey noMachine("HKEY_LOCAL_MACHINE");
    std::recursive_mutex lock;
    platform::sim::SimRegistry registry(
        noMachine, lock, [] {}, environment.userRegistryFile);
    ASSERT_TRUE(registry.createKey(platform::RegRoot::CurrentUser, corvane::PerUserKey));
    ASSERT_TRUE(registry.writeText(platform::RegRoot::CurrentUser, corvane::PerUserKey,
                                   corvane::InstallDirValue, installDir));
  }
};

const char* const ListHeader =
    "Display Name,Name,Startup Type,Status,Service Type,Executable,Desktop Interactive\n";

TEST_F(CorvanectlTest, ListPrintsTheRowsOfEachFilterInCatalogueOrder) {
  const std::string beep = "Beep,Beep,system,stopped,kernel driver, - unavailable - ,\n";
  const std::string dhcp =
      "DHCP Client,Dhcp,automatic,running,share process,"
      "%SystemRoot%\\System32\\svchost.exe -k NetworkService,\n";
  const std::string fsRec =
      "Fs_Rec,Fs_Rec,system,stopped,unknown: 8,System32\\Drivers\\Fs_Rec.SYS,\n";
  const std::string ntfs =
      "Ntfs,Ntfs,manual,stopped,file system driver,System32\\Drivers\\Ntfs.sys,\n";
  const std::string spooler =
      "\"Print Spooler, \"\"main\"\"\",Spooler,automatic,running,own process,"
      "%SystemRoot%\\system32\\spoolsv.exe,yes\n";
  const std::string tcpip =
      "TCP/IP Protocol Driver,Tcpip,system,running,kernel driver,System32\\DRIVERS\\tcpip.sys,\n";
  struct Case {
    std::vector<std::string> filter;
    std::string rows;
  };
  const std::vector<Case> cases = {
      {{}, dhcp + fsRec + spooler},
      {{"--filter", "services"}, dhcp + fsRec + spooler},
      {{"--filter", "fs"}, ntfs},
      {{"--filter", "kernel"}, beep + tcpip},
      {{"--filter", "all"}, beep + dhcp + fsRec + ntfs + spooler + tcpip},
  };
  const std::string registryBefore =
      common::readFile(std::filesystem::path(machine) / "registry.reg", 1 << 20);
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {"--machine", machine, "list"};
    arguments.insert(arguments.end(), c.filter.begin(), c.filter.end());
    EXPECT_EQ(run(arguments), ExitOk);
    EXPECT_EQ(out, ListHeader + c.rows);
    EXPECT_EQ(err, "");
  }
  EXPECT_EQ(common::readFile(std::filesystem::path(machine) / "registry.reg", 1 << 20),
            registryBefore);
}

TEST_F(CorvanectlTest, GroupsPrintsEveryEntryWithItsMembers) {
  EXPECT_EQ(run({"groups", "--machine", machine}), ExitOk);
  EXPECT_EQ(out,
            "Group,Listed,Member\n"
            "- services not belonging to a group,0,Fs_Rec\n"
            "Boot File System,1,Ntfs\n"
            "PNP_TDI,1,TCP/IP Protocol Driver\n"
            "TDI,1,DHCP Client\n"
            "Base,1,Beep\n"
            "SpoolerGroup,0,\"Print Spooler, \"\"main\"\"\"\n");
  EXPECT_EQ(err, "");
}

TEST_F(CorvanectlTest, HelpAndBadArguments) {
  EXPECT_EQ(run({"--help"}), ExitOk);
  EXPECT_THAT(out, HasSubstr("Usage: corvanectl [--machine DIR] COMMAND"));
  EXPECT_EQ(err, "");

  EXPECT_EQ(run({"list", "--filter", "drivers"}), ExitUsage);
  EXPECT_EQ(out, "");
  EXPECT_THAT(err, HasSubstr("corvanectl: --filter takes services, fs, kernel or all\n"));
  EXPECT_THAT(err, HasSubstr("Usage: corvanectl"));
}

TEST_F(CorvanectlTest, MissingOrMalformedMachineFolderIsAnError) {
  EXPECT_EQ(run({"--machine", folder.path("nowhere"), "list"}), ExitFailed);
  EXPECT_EQ(out, "");
  EXPECT_THAT(err, HasSubstr("cannot open the simulated computer in '" + folder.path("nowhere")));
  EXPECT_THAT(err, HasSubstr("the machine folder does not exist"));

  const std::string broken = folder.path("broken");
  folder.write("broken/registry.reg",
               "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SYSTEM\n\"Type\"=dword:1\n");
  EXPECT_EQ(run({"--machine", broken, "list"}), ExitFailed);
  EXPECT_EQ(out, "");
  EXPECT_THAT(err, HasSubstr("registry.reg"));
  EXPECT_THAT(err, HasSubstr("line 3"));

  folder.write("empty/services.ini", "");
  EXPECT_EQ(run({"--machine", folder.path("empty"), "groups"}), ExitFailed);
  EXPECT_THAT(err, HasSubstr("registry.reg"));
}

TEST_F(CorvanectlTest, CatalogueMessagesBecomeErrorLines) {
  std::string registry = common::readFile(std::filesystem::path(machine) / "registry.reg", 1 << 20);
  const std::size_t start =
      registry.find("[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control");
  const std::size_t end = registry.find("[HKEY", start + 1);
  registry.erase(start, end - start);
  common::writeFileAtomically(std::filesystem::path(machine) / "registry.reg", registry);

  EXPECT_EQ(run({"--machine", machine, "groups"}), ExitFailed);
  EXPECT_EQ(err, "corvanectl: error: Unable to open group list reg key!\n");
  EXPECT_THAT(out, HasSubstr(" - unable to retrieve a group list - ,0,Beep\n"));
}

TEST_F(CorvanectlTest, WithoutMachineTheComputerIsFoundThroughInstallDir) {
  if (std::getenv("CORVANE_MACHINE"))
    GTEST_SKIP() << "CORVANE_MACHINE names the computer here";
  // Beside the program: a computer whose only service is Beside.
  folder.write("program/machine/registry.reg",
               "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Beside]\n"
               "\"Type\"=dword:00000010\n\"Start\"=dword:00000003\n\n"
               "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder]\n"
               "\"List\"=hex(7):00,00\n");
  EXPECT_EQ(run({"list"}), ExitOk);
  EXPECT_THAT(out, HasSubstr(",Beside,manual,stopped,own process,"));

  // InstallDir naming the folder that holds the small computer.
  storeInstallDir(folder.path() + "/");
  EXPECT_EQ(run({"list"}), ExitOk);
  EXPECT_THAT(out, HasSubstr(",Dhcp,"));

  // InstallDir naming a folder without a computer: the one beside the program again.
  storeInstallDir(folder.path("program/machine"));
  EXPECT_EQ(run({"list"}), ExitOk);
  EXPECT_THAT(out, HasSubstr(",Beside,"));
}

}  // namespace
}  // namespace corvanectl
