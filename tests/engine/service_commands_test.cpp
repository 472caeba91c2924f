// The command handlers: what each asks, and which request it submits with which flags.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "corvane/engine/request_state.h"
#include "corvane/engine/service_commands.h"
#include "support/scripted_dialogs.h"

namespace corvane::testing {
namespace {

class ServiceCommandsTest : public ::testing::Test {
 protected:
  ServiceCommandsTest() {
    CommandWindow window;
    window.refreshSelectionDetails = [this] { events.push_back("refresh"); };
    window.selectedService = [this] { return selected; };
    window.launchRequest = [this](std::int32_t code) {
      events.push_back("launch:" + std::to_string(code));
      launchedFullRefresh = program.FullRefresh;
      launchedRefreshAllViews = program.RefreshAllViews;
    };
    commands.emplace(std::move(window), dialogs, program);
  }

  ServiceRecord& Add(const std::string& name, std::uint32_t state,
                     std::vector<std::string> dependents = {" - none - "}) {
    ServiceRecord& record = program.catalogue.ServiceTable[program.catalogue.ServiceCount++];
    record.ServiceName = name;
    record.DisplayName = name + " display";
    record.State = state;
    record.Dependents = std::move(dependents);
    return record;
  }
  void Select(const std::string& name, const std::string& startTypeText = "manual") {
    selected = SelectedService{name, name + " display", startTypeText};
  }
  std::vector<std::string> Launches() const {
    std::vector<std::string> launches;
    for (const std::string& event : events) {
      if (event.rfind("launch:", 0) == 0)
        launches.push_back(event);
    }
    return launches;
  }

  ProgramState program;
  ScriptedDialogs dialogs;
  std::optional<SelectedService> selected;
  std::vector<std::string> events;
  bool launchedFullRefresh = true;
  bool launchedRefreshAllViews = false;
  std::optional<ServiceCommands> commands;
};

using Events = std::vector<std::string>;

TEST_F(ServiceCommandsTest, StartRefreshesTheDetailsAndSubmitsForAnEnabledService) {
  Select("Alpha", "automatic");
  program.FullRefresh = true;
  program.RefreshAllViews = false;
  commands->Start();
  EXPECT_EQ(events, (Events{"refresh", "launch:-10"}));
  EXPECT_TRUE(dialogs.asked.empty());
  EXPECT_FALSE(launchedFullRefresh);
  EXPECT_TRUE(launchedRefreshAllViews);
}

TEST_F(ServiceCommandsTest, StartOnADisabledServiceInAnyLetterCaseOffersManualAndStart) {
  for (const char* cell : {"disabled", "Disabled", "DISABLED"}) {
    for (const DialogResult answer : {DialogResult::Ok, DialogResult::Cancel}) {
      events.clear();
      dialogs.asked.clear();
      dialogs.answers = {answer};
      Select("Alpha", cell);
      commands->Start();
      ASSERT_EQ(dialogs.asked.size(), 1u) << cell;
      const AskedDialog& asked = dialogs.asked[0];
      EXPECT_EQ(asked.caption, "Service disabled !");
      EXPECT_EQ(asked.text,
                "Service 'Alpha display' is disabled !   \nIn order to be started, first it must "
                "be enabled.   \nSet StartupType to 'manual' and then start ?");
      EXPECT_EQ(asked.icon, DialogIcon::Warning);
      EXPECT_EQ(asked.buttons, DialogButtons::OkCancel);
      EXPECT_EQ(Launches(), answer == DialogResult::Ok ? Events{"launch:-16"} : Events{}) << cell;
    }
  }
  EXPECT_FALSE(launchedFullRefresh);
  EXPECT_TRUE(launchedRefreshAllViews);
}

TEST_F(ServiceCommandsTest, RunCommandsSubmitAtOnceWithAQuickRefreshOfAllViews) {
  struct Case {
    void (ServiceCommands::*handler)();
    std::int32_t code;
  };
  for (const Case& c : {Case{&ServiceCommands::Restart, ReqRestart},
                        Case{&ServiceCommands::PauseResume, ReqPauseResume},
                        Case{&ServiceCommands::ManualAndStop, ReqManualAndStop},
                        Case{&ServiceCommands::AutoAndStart, ReqAutoAndStart},
                        Case{&ServiceCommands::Refresh, ReqRefresh}}) {
    events.clear();
    program.FullRefresh = true;
    program.RefreshAllViews = false;
    ((*commands).*c.handler)();
    EXPECT_EQ(events, (Events{"launch:" + std::to_string(c.code)}));
    EXPECT_FALSE(launchedFullRefresh) << c.code;
    EXPECT_TRUE(launchedRefreshAllViews) << c.code;
  }
  EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(ServiceCommandsTest, StopWithoutARecordSaysNoServiceIsSelected) {
  Add("Alpha", 4);
  for (const std::optional<SelectedService>& selection :
       {std::optional<SelectedService>{}, std::optional<SelectedService>{{"alpha", "", ""}}}) {
    dialogs.asked.clear();
    selected = selection;
    commands->Stop();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, "Error: no service selected !");
    EXPECT_EQ(dialogs.asked[0].caption, "");
    EXPECT_EQ(dialogs.asked[0].icon, DialogIcon::Error);
  }
  EXPECT_TRUE(Launches().empty());
}

TEST_F(ServiceCommandsTest, StopWithoutRunningDependentsSubmitsWithoutAsking) {
  Add("Alpha", 4);
  Add("Beta", 4, {"Gamma", "Delta"});
  Add("Gamma", 1);
  Add("Delta", 1);
  for (const char* name : {"Alpha", "Beta"}) {
    events.clear();
    Select(name);
    commands->Stop();
    EXPECT_EQ(events, (Events{"launch:-13"})) << name;
  }
  EXPECT_TRUE(dialogs.asked.empty());
  EXPECT_TRUE(launchedRefreshAllViews);
  EXPECT_FALSE(launchedFullRefresh);
}

TEST_F(ServiceCommandsTest, StopListsEveryDependentThatIsNotStoppedAndAsks) {
  Add("Alpha", 4, {"Paused", "Missing", "Stopped", "Pending"});
  Add("Paused", 7);
  Add("Stopped", 1);
  Add("Pending", 2);
  for (const DialogResult answer : {DialogResult::Yes, DialogResult::No}) {
    events.clear();
    dialogs.asked.clear();
    dialogs.answers = {DialogResult::Ok, answer};
    Select("Alpha");
    commands->Stop();
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[0].text, "not found");
    EXPECT_EQ(dialogs.asked[0].caption, "error");
    const AskedDialog& question = dialogs.asked[1];
    EXPECT_EQ(question.caption, "Stop service tree ?");
    EXPECT_EQ(question.text,
              "The following services depending on 'Alpha display'          \nappear to be "
              "running at this moment:\n\n    Paused display\n    Pending display\n\nThese "
              "services and their running dependents will be recursively          \nstopped "
              "before attempting to stop 'Alpha display'.\nDo you wish to continue ?");
    EXPECT_EQ(question.icon, DialogIcon::Warning);
    EXPECT_EQ(question.buttons, DialogButtons::YesNo);
    EXPECT_EQ(Launches(), answer == DialogResult::Yes ? Events{"launch:-13"} : Events{});
  }
}

TEST_F(ServiceCommandsTest, StartTypeButtonsAskForBootSystemAndDisabledWhileWarningsAreOn) {
  const std::string reserved =
      "'Boot' and 'System' are reserved modes. Use them if you know what you are doing";
  const std::string disable =
      "Are you sure you want to disable this service !?\nAny services explicitly depending on a "
      "disabled \nservice will fail to start. Disable anyway?";
  struct Case {
    std::uint32_t startType;
    bool warnings;
    DialogResult answer;
    std::string question;  // empty: none
    bool submitted;
  };
  const Case cases[] = {
      {0, true, DialogResult::Ok, reserved, true}, {0, true, DialogResult::Cancel, reserved, false},
      {1, true, DialogResult::Ok, reserved, true}, {1, true, DialogResult::Cancel, reserved, false},
      {2, true, DialogResult::Cancel, "", true},   {3, true, DialogResult::Cancel, "", true},
      {4, true, DialogResult::Ok, disable, true},  {4, true, DialogResult::Cancel, disable, false},
      {0, false, DialogResult::Cancel, "", true},  {1, false, DialogResult::Cancel, "", true},
      {4, false, DialogResult::Cancel, "", true},
  };
  for (const Case& c : cases) {
    events.clear();
    dialogs.asked.clear();
    dialogs.answers = {c.answer};
    program.settings.ShowWarnings = c.warnings;
    program.FullRefresh = true;
    program.RefreshAllViews = true;
    commands->SetStartType(c.startType);
    const std::string what = std::to_string(c.startType) + (c.warnings ? " warnings" : " quiet");
    if (c.question.empty()) {
      EXPECT_TRUE(dialogs.asked.empty()) << what;
    } else {
      ASSERT_EQ(dialogs.asked.size(), 1u) << what;
      EXPECT_EQ(dialogs.asked[0].text, c.question) << what;
      EXPECT_EQ(dialogs.asked[0].caption, "Warning") << what;
      EXPECT_EQ(dialogs.asked[0].icon, DialogIcon::Warning) << what;
      EXPECT_EQ(dialogs.asked[0].buttons, DialogButtons::OkCancel) << what;
    }
    const Events expected = c.submitted ? Events{"launch:" + std::to_string(c.startType), "refresh"}
                                        : Events{"refresh"};
    EXPECT_EQ(events, expected) << what;
    if (c.submitted) {
      EXPECT_FALSE(launchedFullRefresh) << what;
      EXPECT_FALSE(launchedRefreshAllViews) << what;
    }
  }
}

TEST_F(ServiceCommandsTest, UninstallAsksAndSubmitsAFullRefreshOfTheActivePage) {
  for (const DialogResult answer : {DialogResult::Cancel, DialogResult::Ok}) {
    events.clear();
    dialogs.asked.clear();
    dialogs.answers = {answer};
    program.FullRefresh = false;
    program.RefreshAllViews = true;
    Select("Alpha");
    commands->Uninstall();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].caption, "Confirm uninstall");
    EXPECT_EQ(dialogs.asked[0].text,
              "You choosed to uninstall service: Alpha display\nThere is no rollback to the "
              "uninstall procedure!\nAre you sure you want to proceed with the uninstall?");
    EXPECT_EQ(dialogs.asked[0].icon, DialogIcon::Warning);
    EXPECT_EQ(dialogs.asked[0].buttons, DialogButtons::OkCancel);
    EXPECT_EQ(events, answer == DialogResult::Ok ? (Events{"launch:-50", "refresh"}) : Events{});
  }
  EXPECT_TRUE(launchedFullRefresh);
  EXPECT_FALSE(launchedRefreshAllViews);

  // Nothing selected: nothing to confirm.
  events.clear();
  dialogs.asked.clear();
  selected.reset();
  commands->Uninstall();
  EXPECT_TRUE(dialogs.asked.empty());
  EXPECT_TRUE(events.empty());
}

TEST_F(ServiceCommandsTest, SaveRegEntrySubmitsWithTheFlagsAsTheyAre) {
  Select("Alpha");
  for (const bool full : {false, true}) {
    events.clear();
    program.FullRefresh = full;
    program.RefreshAllViews = !full;
    commands->SaveRegEntry();
    EXPECT_EQ(events, (Events{"launch:-60", "refresh"}));
    EXPECT_EQ(launchedFullRefresh, full);
    EXPECT_EQ(launchedRefreshAllViews, !full);
  }
  EXPECT_TRUE(dialogs.asked.empty());
}

}  // namespace
}  // namespace corvane::testing
