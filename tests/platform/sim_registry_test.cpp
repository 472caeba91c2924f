#include "platform/sim/sim_registry.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "reg_hive_dump.h"

using corvane::testing::TempFolder;

namespace platform::sim {
namespace {

using testing::dumpHive;
constexpr RegRoot HKLM = RegRoot::LocalMachine;
constexpr RegRoot HKCU = RegRoot::CurrentUser;
const std::string kServices = "SYSTEM\\CurrentControlSet\\Services";

class SimRegistryTest : public ::testing::Test {
 protected:
  SimRegistryTest() {
    RegistryKey& tcpip = machine.create(kServices + "\\Tcpip");
    tcpip.setValue({"Type", RegKind::Dword, dwordData(1)});
    tcpip.setValue({"DisplayName", RegKind::String, stringData("TCP/IP Protocol Driver")});
    tcpip.setValue({"ImagePath", RegKind::ExpandString, stringData("%SystemRoot%\\tcpip.sys")});
    tcpip.setValue({"DependOnGroup", RegKind::MultiString, multiStringData({"PNP_TDI"})});
    tcpip.create("Parameters\\Interfaces");
    machine.create(kServices + "\\atapi");
    machine.create(kServices + "\\Beep");
    machine.create(kServices + "\\_Last");
  }

  SimRegistry& registry() {
    if (!registry_)
      registry_ = std::make_unique<SimRegistry>(
          machine, lock, [this] { ++machineChanges; }, userFile());
    return *registry_;
  }
  std::filesystem::path userFile() const { return folder / "config" / "Corvane" / "user.reg"; }

  TempFolder folder;
  RegistryKey machine{"HKEY_LOCAL_MACHINE"};
  std::recursive_mutex lock;
  int machineChanges = 0;

 private:
  std::unique_ptr<SimRegistry> registry_;
};

TEST_F(SimRegistryTest, MissingKeysAndValuesAnswerNothingAndChangeNothing) {
  SimRegistry& reg = registry();
  const std::string before = dumpHive(machine);
  const std::string missingKey = kServices + "\\NoSuch";
  EXPECT_FALSE(reg.keyExists(HKLM, missingKey));
  EXPECT_EQ(reg.valueKind(HKLM, missingKey, "Type"), std::nullopt);
  EXPECT_EQ(reg.valueKind(HKLM, kServices + "\\Tcpip", "NoSuch"), std::nullopt);
  EXPECT_EQ(reg.readText(HKLM, missingKey, "DisplayName"), std::nullopt);
  EXPECT_EQ(reg.readBytes(HKLM, kServices + "\\Tcpip", "NoSuch", 100), std::nullopt);
  EXPECT_TRUE(reg.subkeyNames(HKLM, missingKey).empty());
  EXPECT_TRUE(reg.values(HKLM, missingKey).empty());
  EXPECT_FALSE(reg.writeText(HKLM, missingKey, "DisplayName", "x"));
  EXPECT_FALSE(reg.deleteKeyTree(HKLM, missingKey));
  EXPECT_FALSE(reg.deleteKeyTree(HKLM, missingKey + "\\Deeper"));
  EXPECT_FALSE(reg.exportKey(HKLM, missingKey, folder / "x.reg", RegFileFormat::Version5));
  EXPECT_FALSE(std::filesystem::exists(folder / "x.reg"));
  EXPECT_EQ(dumpHive(machine), before);
  EXPECT_EQ(machineChanges, 0);
}

TEST_F(SimRegistryTest, ReadsKindsTextsAndBytesWithoutRegardToCase) {
  SimRegistry& reg = registry();
  const std::string key = "system\\currentcontrolset\\SERVICES\\tcpip";
  EXPECT_TRUE(reg.keyExists(HKLM, key));
  EXPECT_EQ(reg.valueKind(HKLM, key, "type"), RegKind::Dword);
  EXPECT_EQ(reg.valueKind(HKLM, key, "IMAGEPATH"), RegKind::ExpandString);
  EXPECT_EQ(reg.readText(HKLM, key, "displayname"), "TCP/IP Protocol Driver");
  EXPECT_EQ(reg.readText(HKLM, key, "ImagePath"), "%SystemRoot%\\tcpip.sys");  // unexpanded
  EXPECT_EQ(reg.readText(HKLM, key, "Type"), std::nullopt);                    // not a text
  EXPECT_EQ(reg.readText(HKLM, key, "DependOnGroup"), std::nullopt);
  EXPECT_EQ(reg.readBytes(HKLM, key, "Type", 4), dwordData(1));
  EXPECT_EQ(reg.readBytes(HKLM, key, "DependOnGroup", 100), multiStringData({"PNP_TDI"}));
}

TEST_F(SimRegistryTest, ReadBytesFailsForValuesLargerThanTheBuffer) {
  machine.create(kServices).setValue({"Big", RegKind::Binary, std::string(8192, 'x')});
  SimRegistry& reg = registry();
  EXPECT_EQ(reg.readBytes(HKLM, kServices, "Big", 8192)->size(), 8192u);
  EXPECT_EQ(reg.readBytes(HKLM, kServices, "Big", 8191), std::nullopt);
  EXPECT_EQ(reg.readBytes(HKLM, kServices, "Big", 0), std::nullopt);
}

TEST_F(SimRegistryTest, ListsSubkeysAsTheRegistryDoesAndValuesInOrder) {
  SimRegistry& reg = registry();
  EXPECT_EQ(reg.subkeyNames(HKLM, kServices),
            (std::vector<std::string>{"atapi", "Beep", "Tcpip", "_Last"}));
  const std::vector<RegValue> values = reg.values(HKLM, kServices + "\\Tcpip");
  ASSERT_EQ(values.size(), 4u);
  EXPECT_EQ(values[0].name, "Type");
  EXPECT_EQ(values[3].name, "DependOnGroup");
  EXPECT_EQ(values[3].kind, RegKind::MultiString);
}

TEST_F(SimRegistryTest, WritesNotifyTheOwnerAndKeepTheStoredNames) {
  SimRegistry& reg = registry();
  EXPECT_TRUE(reg.writeText(HKLM, kServices + "\\TCPIP", "displayname", "Renamed"));
  EXPECT_EQ(machineChanges, 1);
  const RegValue* value = machine.find(kServices + "\\Tcpip")->value("DisplayName");
  EXPECT_EQ(value->name, "DisplayName");
  EXPECT_EQ(value->data, stringData("Renamed"));

  EXPECT_TRUE(reg.writeText(HKLM, kServices + "\\Tcpip", "Description", ""));
  EXPECT_EQ(reg.valueKind(HKLM, kServices + "\\Tcpip", "Description"), RegKind::String);
  EXPECT_EQ(reg.readText(HKLM, kServices + "\\Tcpip", "Description"), "");
  EXPECT_EQ(machineChanges, 2);

  EXPECT_TRUE(reg.createKey(HKLM, "SOFTWARE\\New\\Deep"));
  EXPECT_TRUE(reg.keyExists(HKLM, "SOFTWARE\\New"));
  EXPECT_EQ(machineChanges, 3);
  EXPECT_TRUE(reg.createKey(HKLM, "software\\new\\DEEP"));  // already there: no change
  EXPECT_EQ(machineChanges, 3);
  EXPECT_EQ(reg.subkeyNames(HKLM, "SOFTWARE\\New"), std::vector<std::string>{"Deep"});
}

TEST_F(SimRegistryTest, RefusesNamesAFileCannotHold) {
  SimRegistry& reg = registry();
  EXPECT_FALSE(reg.writeText(HKLM, kServices + "\\Tcpip", "two\nlines", "x"));
  EXPECT_FALSE(reg.createKey(HKLM, "SOFTWARE\\bad\rname"));
  EXPECT_FALSE(reg.createKey(HKLM, "SOFTWARE\\" + std::string(256, 'k')));
  std::string deep = "SOFTWARE";
  for (int i = 0; i < 512; ++i)
    deep += "\\k";
  EXPECT_FALSE(reg.createKey(HKLM, deep));
  EXPECT_EQ(machine.find("SOFTWARE"), nullptr);
  EXPECT_EQ(machineChanges, 0);
  // Texts may hold anything: line breaks are kept through the file.
  EXPECT_TRUE(reg.writeText(HKLM, kServices + "\\Tcpip", "Description", "two\r\nlines"));
}

TEST_F(SimRegistryTest, DeleteKeyTreeRemovesEverythingBelow) {
  SimRegistry& reg = registry();
  EXPECT_TRUE(reg.deleteKeyTree(HKLM, kServices + "\\tcpip"));
  EXPECT_EQ(machineChanges, 1);
  EXPECT_FALSE(reg.keyExists(HKLM, kServices + "\\Tcpip\\Parameters\\Interfaces"));
  EXPECT_FALSE(reg.keyExists(HKLM, kServices + "\\Tcpip"));
  EXPECT_TRUE(reg.keyExists(HKLM, kServices + "\\Beep"));
  EXPECT_FALSE(reg.deleteKeyTree(HKLM, ""));  // the root stays
  EXPECT_FALSE(reg.deleteKeyTree(HKLM, "\\"));
  EXPECT_EQ(machineChanges, 1);
}

TEST_F(SimRegistryTest, TheUserHiveIsSavedToItsFileAndReadBack) {
  const std::string key = "Software\\Tavik\\Corvane";
  {
    SimRegistry& reg = registry();
    EXPECT_FALSE(reg.keyExists(HKCU, key));
    EXPECT_TRUE(reg.createKey(HKCU, key));
    EXPECT_TRUE(reg.writeText(HKCU, key, "InstallDir", "/opt/Corvane \"ü\""));
    EXPECT_EQ(machineChanges, 0);
    EXPECT_FALSE(reg.keyExists(HKLM, key));
  }
  ASSERT_TRUE(std::filesystem::exists(userFile()));
  EXPECT_TRUE(TempFolder::readFile(userFile()).starts_with("REGEDIT4\r\n"));
  EXPECT_EQ(folder.entryCount(), 1u);  // only the config folder

  SimRegistry again(machine, lock, {}, userFile());
  EXPECT_EQ(again.userFileError(), "");
  EXPECT_EQ(again.readText(HKCU, "SOFTWARE\\TAVIK\\corvane", "installdir"), "/opt/Corvane \"ü\"");
  EXPECT_TRUE(again.deleteKeyTree(HKCU, "Software\\Tavik"));
  EXPECT_FALSE(SimRegistry(machine, lock, {}, userFile()).keyExists(HKCU, "Software\\Tavik"));
}

TEST_F(SimRegistryTest, AnUnreadableUserFileIsReportedAndNeverOverwritten) {
  std::filesystem::create_directories(userFile().parent_path());
  const std::string bad = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\"x\"=\"open\r\n";
  TempFolder::writeFile(userFile(), bad);
  SimRegistry& reg = registry();
  EXPECT_EQ(reg.userFileError(),
            userFile().string() + ", line 4: the quoted text has no closing '\"'");
  EXPECT_FALSE(reg.keyExists(HKCU, "Software"));
  EXPECT_FALSE(reg.createKey(HKCU, "Software\\Tavik\\Corvane"));
  EXPECT_FALSE(reg.keyExists(HKCU, "Software\\Tavik\\Corvane"));
  EXPECT_EQ(TempFolder::readFile(userFile()), bad);
  EXPECT_TRUE(reg.createKey(HKLM, "SOFTWARE\\Still"));  // the machine is not affected
}

TEST_F(SimRegistryTest, AFailedUserSaveReportsFailureAndUndoesTheChange) {
  TempFolder::writeFile(folder / "config", "a file where the folder should be");
  SimRegistry& reg = registry();
  EXPECT_FALSE(reg.createKey(HKCU, "Software\\Tavik\\Corvane"));
  EXPECT_FALSE(reg.keyExists(HKCU, "Software"));
}

TEST_F(SimRegistryTest, ExportKeyWritesTheKeyWithItsStoredNames) {
  SimRegistry& reg = registry();
  const std::filesystem::path file = folder / "Tcpip.reg";
  ASSERT_TRUE(reg.exportKey(HKLM, "system\\currentcontrolset\\services\\TCPIP", file,
                            RegFileFormat::Version5));
  const std::string bytes = TempFolder::readFile(file);
  EXPECT_TRUE(bytes.starts_with("\xFF\xFE"));
  RegistryKey copy("HKEY_LOCAL_MACHINE");
  importRegFile(file, HKLM, copy);
  ASSERT_NE(copy.find(kServices + "\\Tcpip"), nullptr);
  EXPECT_EQ(copy.find(kServices)->children().front()->name(), "Tcpip");
  EXPECT_EQ(copy.find("SYSTEM")->name(), "SYSTEM");
  EXPECT_EQ(dumpHive(*copy.find(kServices + "\\Tcpip")),
            dumpHive(*machine.find(kServices + "\\Tcpip")));
  EXPECT_EQ(copy.find(kServices + "\\Beep"), nullptr);
  EXPECT_FALSE(reg.exportKey(HKLM, kServices + "\\Tcpip", folder / "missing" / "x.reg",
                             RegFileFormat::Version5));
}

TEST(SimRegistryUserFile, FollowsTheBaseDirectoryRules) {
  EXPECT_EQ(SimRegistry::userFileFor("/xdg", "/home/u"),
            std::filesystem::path("/xdg/Corvane/user.reg"));
  EXPECT_EQ(SimRegistry::userFileFor(nullptr, "/home/u"),
            std::filesystem::path("/home/u/.config/Corvane/user.reg"));
  EXPECT_EQ(SimRegistry::userFileFor("", "/home/u"),
            std::filesystem::path("/home/u/.config/Corvane/user.reg"));
  EXPECT_EQ(SimRegistry::userFileFor("relative", "/home/u"),
            std::filesystem::path("/home/u/.config/Corvane/user.reg"));
}

}  // namespace
}  // namespace platform::sim
