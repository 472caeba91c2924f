#include "corvane/shell/help_launch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "corvane/shell/program_state.h"
#include "support/temp_folder.h"
#include "support/scripted_dialogs.h"

namespace corvane {
namespace {

using testing::ScriptedDialogs;
using testing::TempFolder;

// Records each start; fails or throws when told to.
class RecordingProcesses : public platform::Processes {
 public:
  enum class Outcome { Starts, Fails, Throws };
  Outcome outcome = Outcome::Starts;
  std::vector<HelpLaunch> started;

  bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                     std::string& errorText) override {
    if (outcome == Outcome::Throws) {
      throw std::runtime_error("no memory");
    }
    started.push_back({program, arguments});
    if (outcome == Outcome::Fails) {
      errorText = "No such file or directory";
      return false;
    }
    return true;
  }
  bool runAndWait(const std::string&, const std::string&, std::string&) override { return false; }
};

std::string in(const std::string& folder, const std::string& name) {
  return folder + PathSeparator + name;
}

TEST(HelpLaunch, EachPageGetsItsCaptionAndHome) {
  const std::string dir = in("", "Program Files") + PathSeparator + "Corvane dir";
  const std::string help = in(dir, "help");
  struct Case {
    std::string page;
    std::string caption;
    std::string home;
  };
  const Case cases[] = {
      {"index.html", "-cap:Corvane help", "-home:" + in(help, "index.html")},
      {"about.html", "-cap:About", "-home:" + in(help, "about.html")},
      {"legend.html", "-cap:Corvane help", "-home:" + in(help, "index.html")},
      {"mainwindow.html#Service_panel", "-cap:Corvane help", "-home:" + in(help, "index.html")},
      {"consolewindow.html", "-cap:Corvane help", "-home:" + in(help, "index.html")},
      {"snapwindow.html", "-cap:Corvane help", "-home:" + in(help, "index.html")},
      {"About.html", "-cap:Corvane help", "-home:" + in(help, "index.html")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    const HelpLaunch launch = HelpLaunchFor(dir, c.page);
    EXPECT_EQ(launch.program, in(dir, "Lorvin.exe"));
    EXPECT_EQ(launch.arguments, (std::vector<std::string>{c.caption, c.home, in(help, c.page)}));
  }
}

TEST(HelpLaunch, ContextHelpFollowsTheActivePageOfTheMainWindowOnly) {
  EXPECT_EQ(ContextHelpPage("Corvane", 0), "mainwindow.html#Service_panel");
  EXPECT_EQ(ContextHelpPage("Corvane", 1), "mainwindow.html#Group_panel");
  EXPECT_EQ(ContextHelpPage("Corvane", 2), "mainwindow.html#EventLog_panel");
  EXPECT_EQ(ContextHelpPage("Corvane", 3), std::nullopt);
  EXPECT_EQ(ContextHelpPage("Corvane", -1), std::nullopt);
  EXPECT_EQ(ContextHelpPage("Settings", 0), std::nullopt);
  EXPECT_EQ(ContextHelpPage("Console", 1), std::nullopt);
  EXPECT_EQ(ContextHelpPage("corvane", 1), std::nullopt);
}

TEST(HelpLaunch, OpenHelpPageStartsLorvinWithoutAsking) {
  RecordingProcesses processes;
  ScriptedDialogs dialogs;
  OpenHelpPage("/opt/c", "legend.html", processes, dialogs);
  OpenHelpPage("/opt/c", "legend.html", processes, dialogs);
  ASSERT_EQ(processes.started.size(), 2u);  // one window per command
  EXPECT_EQ(processes.started[0], HelpLaunchFor("/opt/c", "legend.html"));
  EXPECT_TRUE(dialogs.asked.empty());
}

TEST(HelpLaunch, FailuresAreShownInAnErrorBox) {
  struct Case {
    RecordingProcesses::Outcome outcome;
    const char* text;
  };
  const Case cases[] = {
      {RecordingProcesses::Outcome::Fails,
       "Error calling external browser !\n'Lorvin.exe' must reside in Corvane current "
       "directory."},
      {RecordingProcesses::Outcome::Throws, "Exception error calling external browser !"},
  };
  for (const Case& c : cases) {
    RecordingProcesses processes;
    processes.outcome = c.outcome;
    ScriptedDialogs dialogs;
    OpenHelpPage("/opt/c", "index.html", processes, dialogs);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, c.text);
    EXPECT_EQ(dialogs.asked[0].caption, "Error");
    EXPECT_EQ(dialogs.asked[0].icon, DialogIcon::Error);
    EXPECT_EQ(dialogs.asked[0].buttons, DialogButtons::Ok);
  }
}

TEST(HelpLaunch, DeleteBrowseFlagRemovesTheMarkerAndIgnoresItsAbsence) {
  TempFolder folder;
  const std::string flag = folder.write("browse.flag", "");
  DeleteBrowseFlag(folder.path());
  EXPECT_FALSE(std::filesystem::exists(flag));
  DeleteBrowseFlag(folder.path());
  DeleteBrowseFlag(folder.path("no such folder"));
  std::filesystem::create_directories(folder.path("full/browse.flag/inner"));
  DeleteBrowseFlag(folder.path("full"));  // a folder in its place stays
  EXPECT_TRUE(std::filesystem::exists(folder.path("full/browse.flag/inner")));
}

}  // namespace
}  // namespace corvane
