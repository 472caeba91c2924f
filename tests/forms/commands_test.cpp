// The service commands of the main window on the small simulated computer: availability after a
// selection and after a request, and commands that run the worker to their end.
#include <filesystem>

#include "forms_fixture.h"

namespace corvane::testing {
namespace {

class CommandsTest : public FormsTest {
 protected:
  // Selects the row of `name` on the services page, as a click would.
  void SelectService(const std::string& name) {
    const std::ptrdiff_t row = form->ServListModel().list().findRow(name);
    ASSERT_GE(row, 0) << name;
    form->ServList->setCurrentIndex(form->ServListModel().index(static_cast<int>(row), 0));
  }
  QString StatusOf(const std::string& name) {
    const std::ptrdiff_t row = form->ServListModel().list().findRow(name);
    return row < 0 ? QString()
                   : form->ServListModel().index(static_cast<int>(row), 3).data().toString();
  }
  // The enabled state of the four tool buttons and seven speed buttons as letters, "-" for
  // disabled: Start Restart Pause sTop, Boot System Automatic Manual Disabled, m a.
  std::string Commands() const {
    const char letters[] = "SRPTBSAMDma";
    std::string states;
    for (std::size_t i = 0; i < 4; ++i)
      states += form->ToolButtons[i]->isEnabled() ? letters[i] : '-';
    for (std::size_t i = 0; i < 7; ++i)
      states += form->SpeedButtons[i]->isEnabled() ? letters[4 + i] : '-';
    return states;
  }
  int DownStartType() const {
    int down = -1;
    for (int i = 0; i < 5; ++i) {
      if (form->SpeedButtons[static_cast<std::size_t>(i)]->isChecked()) {
        EXPECT_EQ(down, -1) << "two start types down";
        down = i;
      }
    }
    return down;
  }
};

TEST_F(CommandsTest, ASelectionEnablesTheCommandsThatSuitTheService) {
  ShowAndWaitForFirstRequest();
  SelectService("Alerter");  // stopped, disabled, shared process
  EXPECT_EQ(Commands(), "S-----AMD-a");
  EXPECT_EQ(DownStartType(), 4);
  EXPECT_TRUE(form->PopupItems[2]->isEnabled());
  EXPECT_TRUE(form->PopupItems[11]->isChecked());
  EXPECT_TRUE(form->PopupItems[13]->isEnabled());
  EXPECT_TRUE(form->PopupItems[14]->isEnabled());

  SelectService("Fs_Rec");  // a running recognizer driver, start type system
  EXPECT_EQ(DownStartType(), 1);
  EXPECT_TRUE(form->SpeedButtons[0]->isEnabled());
  EXPECT_FALSE(form->ToolButtons[0]->isEnabled());
  EXPECT_FALSE(form->PopupItems[2]->isEnabled());
}

TEST_F(CommandsTest, StartingAStoppedServiceRunsTheWorkerAndTheListShowsItRunning) {
  ShowAndWaitForFirstRequest();
  SelectService("Alerter");
  form->SpeedButtons[3]->click();  // Manual: no question
  EXPECT_TRUE(dialogs.asked.empty());
  WaitForCompletion();
  SelectService("Alerter");
  EXPECT_EQ(DownStartType(), 3);
  EXPECT_EQ(StatusOf("Alerter"), "stopped");

  form->ToolButtons[0]->click();
  EXPECT_TRUE(console->isVisible());
  WaitForCompletion();
  EXPECT_TRUE(dialogs.asked.empty());
  const QString narration = console->Display->toPlainText();
  EXPECT_TRUE(narration.contains("service: Alerter\ncontrols to send: start"))
      << narration.toStdString();
  EXPECT_TRUE(narration.contains("starting: Alerter ...")) << narration.toStdString();
  EXPECT_TRUE(narration.contains("service successfully started.")) << narration.toStdString();
  EXPECT_EQ(StatusOf("Alerter"), "running");
  // The completion's page change offered the commands of a running service.
  EXPECT_EQ(form->SelectedServiceName(), "Alerter");
  EXPECT_FALSE(form->ToolButtons[0]->isEnabled());
  EXPECT_TRUE(form->ToolButtons[3]->isEnabled());
}

TEST_F(CommandsTest, StartOnADisabledServiceAsksAndCancelSubmitsNothing) {
  ShowAndWaitForFirstRequest();
  SelectService("Alerter");
  dialogs.answers = {DialogResult::Cancel};
  form->ToolButtons[0]->click();
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].caption, "Service disabled !");
  EXPECT_TRUE(request.WorkerIdle);
  EXPECT_FALSE(console->isVisible());
}

TEST_F(CommandsTest, UninstallFromThePopUpMenuSavesTheKeyAndDropsTheRow) {
  std::filesystem::create_directories(folder / "registry entries");
  ShowAndWaitForFirstRequest();
  SelectService("Browser");
  form->PopupItems[13]->trigger();
  WaitForCompletion();
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].caption, "Confirm uninstall");
  EXPECT_TRUE(std::filesystem::exists(folder / "registry entries" / "Browser.reg"));
  EXPECT_EQ(form->ServListModel().list().findRow("Browser"), -1);
  EXPECT_TRUE(console->Display->toPlainText().contains("service successfully uninstalled"));
}

}  // namespace
}  // namespace corvane::testing
