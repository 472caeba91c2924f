#include "corvane/shell/startup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "catalogue/fake_platform.h"
#include "corvane/shell/command_line.h"
#include "corvane/shell/file_paths.h"
#include "corvane/shell/install_dir.h"
#include "corvane/shell/os_version_check.h"
#include "corvane/shell/single_instance.h"
#include "support/temp_folder.h"
#include "support/scripted_dialogs.h"

namespace corvane {
namespace {

using platform::RegRoot;
using ::testing::ElementsAre;
using testing::FakeRegistry;
using testing::FakeSystemInfo;
using ::testing::IsEmpty;
using testing::ScriptedDialogs;
using testing::TempFolder;

std::vector<std::string> textsAsked(const ScriptedDialogs& dialogs) {
  std::vector<std::string> texts;
  for (const auto& asked : dialogs.asked)
    texts.push_back(asked.text);
  return texts;
}

class InstallDirTest : public ::testing::Test {
 protected:
  TempFolder folder;
  FakeRegistry registry;
  ScriptedDialogs dialogs;
  ProgramState state;
  std::string programFolder = folder.path("program");

  InstallDirTest() { std::filesystem::create_directories(programFolder); }

  std::optional<std::string> storedValue() {
    return registry.readText(RegRoot::CurrentUser, PerUserKey, InstallDirValue);
  }
};

TEST_F(InstallDirTest, UnusableStoredValueGivesTheProgramFolderAndIsWrittenBack) {
  const std::string kept = folder.path("kept");
  std::filesystem::create_directories(kept);
  struct Case {
    const char* what;
    std::optional<std::string> stored;
    std::string installDir;
  };
  const std::vector<Case> cases = {
      {"no value", std::nullopt, programFolder},
      {"empty", "", programFolder},
      {"zero", "0", programFolder},
      {"deleted folder", folder.path("deleted"), programFolder},
      {"a file, not a folder", folder.write("file.txt", "x"), programFolder},
      {"existing folder", kept, kept},
      {"trailing slash", kept + "/", kept},
  };
  for (const Case& c : cases) {
    registry = FakeRegistry();
    if (c.stored)
      registry.setText(RegRoot::CurrentUser, PerUserKey, InstallDirValue, *c.stored);
    EXPECT_EQ(ResolveInstallDir(state, registry, dialogs, programFolder), StartupOutcome::GoOn)
        << c.what;
    EXPECT_EQ(state.InstallDir, c.installDir) << c.what;
    EXPECT_EQ(storedValue(), c.installDir) << c.what;
  }
  EXPECT_THAT(dialogs.asked, IsEmpty());
}

TEST_F(InstallDirTest, ProgramFolderWithTrailingSeparatorIsStoredWithoutIt) {
  EXPECT_EQ(ResolveInstallDir(state, registry, dialogs, programFolder + "/"), StartupOutcome::GoOn);
  EXPECT_EQ(state.InstallDir, programFolder);
  EXPECT_EQ(storedValue(), programFolder);
}

TEST(FilePathsTest, OneTrailingSeparatorOfEitherKindIsRemoved) {
  EXPECT_EQ(withoutTrailingSeparator("C:\\Program Files\\Corvane\\"), "C:\\Program Files\\Corvane");
  EXPECT_EQ(withoutTrailingSeparator("/opt/corvane/"), "/opt/corvane");
  EXPECT_EQ(withoutTrailingSeparator("/opt/corvane//"), "/opt/corvane/");
  EXPECT_EQ(withoutTrailingSeparator("/opt/corvane"), "/opt/corvane");
  EXPECT_EQ(extensionOf("/a.b/file"), "");
  EXPECT_EQ(extensionOf("/a/x.tar.SNAPSHOT"), ".SNAPSHOT");
}

TEST_F(InstallDirTest, FailedWriteIsIgnored) {
  registry.failWrites = true;
  EXPECT_EQ(ResolveInstallDir(state, registry, dialogs, programFolder), StartupOutcome::GoOn);
  EXPECT_EQ(state.InstallDir, programFolder);
}

TEST_F(InstallDirTest, MissingFolderAsksWhereTheSettingsFileIs) {
  const std::string missing = folder.path("gone");
  const std::string question =
      "Corvane cannot find its settings file ! Click 'Yes' to point the location \nof the file "
      "yourself or click 'No' to use the current directory \n(" +
      missing + ")\nto create a new settings file using the default settings.";
  struct Case {
    const char* what;
    DialogResult answer;
    std::optional<std::string> file;
    StartupOutcome outcome;
    std::string installDir;
  };
  const std::string chosenFolder = folder.path("chosen");
  const std::vector<Case> cases = {
      {"No keeps the folder", DialogResult::No, std::nullopt, StartupOutcome::GoOn, missing},
      {"Yes and a file", DialogResult::Yes, chosenFolder + "/settings.ini", StartupOutcome::GoOn,
       chosenFolder},
      {"Yes and cancel", DialogResult::Yes, std::nullopt, StartupOutcome::Terminate, ""},
  };
  for (const Case& c : cases) {
    dialogs = ScriptedDialogs();
    state = ProgramState();
    dialogs.answers = {c.answer};
    dialogs.fileAnswers = {c.file};
    EXPECT_EQ(ResolveInstallDir(state, registry, dialogs, missing), c.outcome) << c.what;
    EXPECT_EQ(state.InstallDir, c.installDir) << c.what;
    ASSERT_FALSE(dialogs.asked.empty()) << c.what;
    EXPECT_EQ(dialogs.asked[0].text, question) << c.what;
    EXPECT_EQ(dialogs.asked[0].buttons, DialogButtons::YesNo) << c.what;
    if (c.answer == DialogResult::Yes) {
      ASSERT_EQ(dialogs.asked.size(), 2u) << c.what;
      const FileDialogRequest& request = dialogs.asked[1].file;
      EXPECT_EQ(dialogs.asked[1].kind, "openFile");
      EXPECT_EQ(request.title, "Point the location for 'settings.ini'");
      EXPECT_EQ(request.initialFolder, missing);
      EXPECT_EQ(request.fileName, "settings.ini");
      EXPECT_EQ(request.defaultExtension, "ini");
      EXPECT_EQ(request.filter, "Settings file (*.ini)|*.ini");
    }
  }
}

TEST_F(InstallDirTest, FailureWhileAskingIsFatal) {
  class FailingDialogs : public ScriptedDialogs {
   public:
    std::optional<std::string> openFile(const FileDialogRequest&) override {
      throw std::runtime_error("dialog failed");
    }
  } failing;
  failing.answers = {DialogResult::Yes};
  EXPECT_EQ(ResolveInstallDir(state, registry, failing, folder.path("gone")),
            StartupOutcome::Terminate);
  ASSERT_EQ(failing.asked.size(), 2u);
  EXPECT_EQ(failing.asked[1].kind, "showMessage");
  EXPECT_EQ(failing.asked[1].text, "Fatal failure ...\nPress ok to terminate !");
}

class CommandLineTest : public ::testing::Test {
 protected:
  TempFolder folder;
  ScriptedDialogs dialogs;
  ProgramState state;
};

TEST_F(CommandLineTest, ArgumentsByTheRules) {
  const std::string snapshot = folder.write("x.snapshot", "[Options]\n");
  const std::string upper = folder.write("X.SNAPSHOT", "[Options]\n");
  const std::string text = folder.write("x.txt", "");
  const std::string missing = folder.path("missing.snapshot");
  const std::string invalid = InvalidCommandLineText;
  const std::string notThere = "Error: File does not exists !\n" + invalid;
  const std::string badExtension = "Error: File must have '.snapshot' extension !\n" + invalid;
  struct Case {
    const char* what;
    std::vector<std::string> arguments;
    std::vector<DialogResult> answers;
    StartupOutcome outcome;
    std::string snapshot;  // empty: none
    std::vector<std::string> warnings;
  };
  const std::vector<Case> cases = {
      {"none", {}, {}, StartupOutcome::GoOn, "", {}},
      {"one file", {snapshot}, {}, StartupOutcome::GoOn, snapshot, {}},
      {"upper-case extension", {upper}, {}, StartupOutcome::GoOn, upper, {}},
      {"-open file", {"-open", snapshot}, {}, StartupOutcome::GoOn, snapshot, {}},
      {"file -open", {snapshot, "-open"}, {DialogResult::Ok}, StartupOutcome::GoOn, "", {invalid}},
      {"file -open, cancelled",
       {snapshot, "-open"},
       {DialogResult::Cancel},
       StartupOutcome::Terminate,
       "",
       {invalid}},
      {"-OPEN heeds case", {"-OPEN", snapshot}, {}, StartupOutcome::GoOn, "", {}},
      {"two plain arguments", {snapshot, snapshot}, {}, StartupOutcome::GoOn, "", {}},
      {"three arguments",
       {"-open", snapshot, "x"},
       {DialogResult::Ok},
       StartupOutcome::GoOn,
       "",
       {invalid}},
      {"three arguments, cancelled",
       {"a", "b", "c"},
       {DialogResult::Cancel},
       StartupOutcome::Terminate,
       "",
       {invalid}},
      {"missing file", {missing}, {DialogResult::Ok}, StartupOutcome::GoOn, "", {notThere}},
      {"missing file after -open",
       {"-open", missing},
       {DialogResult::Cancel},
       StartupOutcome::Terminate,
       "",
       {notThere}},
      {"a folder is no file",
       {folder.path()},
       {DialogResult::Ok},
       StartupOutcome::GoOn,
       "",
       {notThere}},
      {"wrong extension", {text}, {DialogResult::Ok}, StartupOutcome::GoOn, "", {badExtension}},
      {"-open -open",
       {"-open", "-open"},
       {DialogResult::Ok, DialogResult::Ok},
       StartupOutcome::GoOn,
       "",
       {notThere, invalid}},
  };
  for (const Case& c : cases) {
    dialogs = ScriptedDialogs();
    state = ProgramState();
    dialogs.answers.assign(c.answers.begin(), c.answers.end());
    EXPECT_EQ(ReadCommandLine(state, c.arguments, dialogs), c.outcome) << c.what;
    EXPECT_EQ(state.StartupSnapshotPath, c.snapshot) << c.what;
    EXPECT_EQ(state.OpenSnapshotAtStart, !c.snapshot.empty()) << c.what;
    EXPECT_EQ(textsAsked(dialogs), c.warnings) << c.what;
    for (const auto& asked : dialogs.asked) {
      EXPECT_EQ(asked.icon, DialogIcon::Warning) << c.what;
      EXPECT_EQ(asked.buttons, DialogButtons::OkCancel) << c.what;
    }
  }
  EXPECT_TRUE(invalid.ends_with(".  "));
}

class OsVersionTest : public ::testing::Test {
 protected:
  TempFolder folder;
  FakeSystemInfo systemInfo;
  ScriptedDialogs dialogs;
  ProgramState state;

  OsVersionTest() {
    state.InstallDir = folder.path();
    FillExtraDescFiles(state);
  }
};

TEST_F(OsVersionTest, ExtraDescFilesUseThePlatformSeparator) {
  state.InstallDir = "/opt/corvane";
  FillExtraDescFiles(state);
#ifndef _WIN32
  EXPECT_THAT(state.ExtraDescFiles, ElementsAre("/opt/corvane/descriptions/extradesc.ini",
                                                "/opt/corvane/descriptions/extradesc2000.ini",
                                                "/opt/corvane/descriptions/extradesc2003.ini",
                                                "/opt/corvane/descriptions/extradescXP.ini"));
#endif
}

TEST_F(OsVersionTest, MinorVersionChoosesTheKindTextAndFile) {
  for (const char* name :
       {"extradesc.ini", "extradesc2000.ini", "extradesc2003.ini", "extradescXP.ini"}) {
    folder.write(std::string("descriptions/") + name, std::string("[") + name + "]\r\nline\r\n");
  }
  struct Case {
    std::uint32_t major, minor, build;
    int kind;
    const char* text;
    const char* firstLine;
  };
  const std::vector<Case> cases = {
      {5, 1, 2600, OsKindWindowsXP, "Windows XP ver: 5.1.2600", "[extradescXP.ini]"},
      {4, 0, 1381, OsKindWindows2000, "Windows 2000 ver: 4.0.1381", "[extradesc2000.ini]"},
      {5, 0, 2195, OsKindWindows2000, "Windows 2000 ver: 5.0.2195", "[extradesc2000.ini]"},
      {5, 2, 3790, OsKindWindows2003, "Windows 2003 ver: 5.2.3790", "[extradesc2003.ini]"},
      {6, 3, 9600, OsKindOtherNt, "NT based OS ver: 6.3.9600", "[extradesc.ini]"},
  };
  for (const Case& c : cases) {
    systemInfo.answer = {c.major, c.minor, c.build, true};
    EXPECT_EQ(CheckOsVersion(state, systemInfo, dialogs), StartupOutcome::GoOn) << c.text;
    EXPECT_EQ(state.OsKind, c.kind) << c.text;
    EXPECT_EQ(state.OsVersionText, c.text);
    EXPECT_THAT(state.ExtraDescriptions.Lines, ElementsAre(c.firstLine, "line")) << c.text;
  }
  EXPECT_THAT(dialogs.asked, IsEmpty());
}

TEST_F(OsVersionTest, MissingExtraDescriptionsFileIsReportedAndStartUpGoesOn) {
  systemInfo.answer = {5, 1, 2600, true};
  EXPECT_EQ(CheckOsVersion(state, systemInfo, dialogs), StartupOutcome::GoOn);
  EXPECT_THAT(state.ExtraDescriptions.Lines, ElementsAre(""));
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].text, "Unable to open extra descriptions file.");
  EXPECT_EQ(dialogs.asked[0].caption, "");
  EXPECT_EQ(dialogs.asked[0].buttons, DialogButtons::Ok);
}

TEST_F(OsVersionTest, NonNtSystemEndsTheProgram) {
  systemInfo.answer = {4, 10, 0x80000000u | 2222u, false};
  EXPECT_EQ(CheckOsVersion(state, systemInfo, dialogs), StartupOutcome::Terminate);
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].kind, "showMessage");
  EXPECT_EQ(dialogs.asked[0].text,
            "Wrong OS version: 4.10.2222\nThis program is made for WinNT based OSs!");
}

class FakeInstanceGuard : public InstanceGuard {
 public:
  Role role = Role::First;
  bool firstFound = true;
  int broughtForward = 0;
  Role acquire() override { return role; }
  bool bringFirstForward() override {
    ++broughtForward;
    return firstFound;
  }
};

TEST(SingleInstanceTest, SecondStartBringsTheFirstForwardOrSaysItRuns) {
  struct Case {
    const char* what;
    InstanceGuard::Role role;
    bool found;
    StartupOutcome outcome;
    int broughtForward;
    std::vector<std::string> messages;
  };
  const std::vector<Case> cases = {
      {"first", InstanceGuard::Role::First, true, StartupOutcome::GoOn, 0, {}},
      {"second, found", InstanceGuard::Role::Second, true, StartupOutcome::Terminate, 1, {}},
      {"second, not found",
       InstanceGuard::Role::Second,
       false,
       StartupOutcome::Terminate,
       1,
       {"Corvane is already running !"}},
  };
  for (const Case& c : cases) {
    FakeInstanceGuard guard;
    guard.role = c.role;
    guard.firstFound = c.found;
    ScriptedDialogs dialogs;
    EXPECT_EQ(EnsureSingleInstance(guard, dialogs), c.outcome) << c.what;
    EXPECT_EQ(guard.broughtForward, c.broughtForward) << c.what;
    EXPECT_EQ(textsAsked(dialogs), c.messages) << c.what;
    for (const auto& asked : dialogs.asked) {
      EXPECT_EQ(asked.icon, DialogIcon::Information);
      EXPECT_EQ(asked.buttons, DialogButtons::Ok);
    }
  }
}

class MainFormCreateTest : public ::testing::Test {
 protected:
  TempFolder folder;
  FakeRegistry registry;
  FakeSystemInfo systemInfo;
  ScriptedDialogs dialogs;
  ProgramState state;

  MainFormCreateTest() {
    systemInfo.answer = {5, 1, 2600, true};
    folder.write("descriptions/extradescXP.ini", "[Alerter]\nSends alerts.\n");
  }

  StartupOutcome create(std::vector<std::string> arguments = {}) {
    return MainFormCreate(state, {registry, systemInfo, dialogs, folder.path(), arguments});
  }
};

TEST_F(MainFormCreateTest, SetsUpTheStateAndTheFirstRequestIsARefresh) {
  state.catalogue.ServiceCount = 7;
  state.RequestsBlocked = true;
  ASSERT_EQ(create(), StartupOutcome::GoOn);
  EXPECT_EQ(state.InstallDir, folder.path());
  EXPECT_EQ(state.OsKind, OsKindWindowsXP);
  EXPECT_EQ(state.ExtraDescriptions.indexOf("[ALERTER]"), 0);
  EXPECT_TRUE(state.FullRefresh);
  EXPECT_TRUE(state.RefreshAllViews);
  EXPECT_FALSE(state.SnapshotRequest);
  EXPECT_EQ(state.ServSortColumn, 0);
  EXPECT_EQ(state.EventSortColumn, 1);
  EXPECT_EQ(state.catalogue.ServiceCount, 0u);
  EXPECT_EQ(state.catalogue.ServiceTable.size(), 500u);
  EXPECT_EQ(state.catalogue.GroupTable.size(), 500u);
  EXPECT_EQ(state.BatchList.size(), 500u);
  EXPECT_EQ(state.MainRegistry, &registry);
  EXPECT_TRUE(state.ShowMainFormAtStart);
  EXPECT_TRUE(state.RequestsBlocked);
  EXPECT_THAT(dialogs.asked, IsEmpty());

  EXPECT_EQ(MainFormShow(state), FirstRequest::RefreshAll);
  EXPECT_FALSE(state.RequestsBlocked);
}

TEST_F(MainFormCreateTest, SnapshotOnTheCommandLineIsLoadedFirst) {
  const std::string snapshot = folder.write("7.Mar.2005.snapshot", "[Options]\n");
  ASSERT_EQ(create({"-open", snapshot}), StartupOutcome::GoOn);
  EXPECT_EQ(state.StartupSnapshotPath, snapshot);
  EXPECT_EQ(MainFormShow(state), FirstRequest::LoadSnapshot);
}

TEST_F(MainFormCreateTest, FatalPathsClearShowMainFormAtStart) {
  struct Case {
    const char* what;
    std::vector<std::string> arguments;
    bool ntFamily;
  };
  for (const Case& c : {Case{"cancelled command line", {"a", "b", "c"}, true},
                        Case{"not an NT system", {}, false}}) {
    state = ProgramState();
    dialogs = ScriptedDialogs();
    dialogs.answers = {DialogResult::Cancel};
    systemInfo.answer.ntFamily = c.ntFamily;
    EXPECT_EQ(create(c.arguments), StartupOutcome::Terminate) << c.what;
    EXPECT_FALSE(state.ShowMainFormAtStart) << c.what;
    EXPECT_EQ(dialogs.asked.size(), 1u) << c.what;
  }
}

}  // namespace
}  // namespace corvane
