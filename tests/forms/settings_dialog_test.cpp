#include <QHeaderView>
#include <QSplitter>

#include "common/ini_document.h"
#include "corvane/shell/Form_settings.h"
#include "corvane/shell/QtColors.h"
#include "forms_fixture.h"

namespace corvane::testing {
namespace {

// The main window and the console of the fixture with the settings dialog, created as the
// start-up creates it: its creation shows the main window, which reads settings.ini.
class SettingsDialogTest : public FormsTest {
 protected:
  std::filesystem::path file() const { return folder / "settings.ini"; }
  void writeSettingsFile(const std::string& text) { TempFolder::writeFile(file(), text); }
  std::string fileValue(const char* section, const char* key) const {
    return common::IniDocument::open(file()).readString(section, key, "(missing)");
  }

  void CreateSettingsDialog() {
    // Owned by the main window, as in the program.
    settings = new TSettings(*form, *console, dialogs, program);
    WaitForCompletion();
  }

  static QColor textOf(const QWidget* widget) {
    return widget->palette().color(QPalette::Active, QPalette::Text);
  }
  static QColor backgroundOf(const QWidget* widget) {
    return widget->palette().color(QPalette::Active, QPalette::Base);
  }
  std::vector<std::string> messages() const {
    std::vector<std::string> texts;
    for (const AskedDialog& asked : dialogs.asked) {
      if (asked.kind == "messageBox") {
        texts.push_back(asked.text);
      }
    }
    return texts;
  }

  TSettings* settings = nullptr;
};

const QColor Red(255, 0, 0);
const QColor White(255, 255, 255);
const QColor Black(0, 0, 0);

TEST_F(SettingsDialogTest, TheFirstShowingReadsAndAppliesTheFile) {
  writeSettingsFile(
      "[Colors]\r\nServicesListtext=clRed\r\nServicesListBk=$00008000\r\nDescriptiontext=255\r\n"
      "Pathtext=clYellow\r\nGrouptext=clbtnface\r\n"
      "[AutoRefresh]\r\nAutoRefreshEnabled=1\r\nAutoRefreshInterval=45\r\nCustomPanel=1\r\n"
      "AutoRefreshEventLog=1\r\n"
      "[Miscellaneous]\r\nShowWarnings=0\r\n"
      "[WindowStyle]\r\nMainTop=10\r\nMainLeft=20\r\nMainWidth=800\r\nMainHeight=560\r\n"
      "MainState=0\r\nPanel4Height=200\r\nPanel2Width=300\r\n"
      "[ServListColumns]\r\nColumn0=5\r\nColumn1=150\r\nColumn5=-1\r\n"
      "s_0=1\r\ns_1=0\r\ns_2=2\r\ns_3=3\r\ns_4=4\r\ns_5=5\r\ns_6=6\r\n"
      "[EventLogColumns]\r\nColumn1=700\r\nColumn4=10\r\ne_0=0\r\ne_1=1\r\ne_2=1\r\n"
      "[Console]\r\nMainTop=30\r\nMainLeft=40\r\nMainWidth=410\r\nMainHeight=320\r\n"
      "FontName=Courier New\r\nFontSize=11\r\nFontBold=1\r\nAutoHide=0\r\nLastState=1\r\n"
      "[Operation]\r\nFullTree=0\r\n"
      "[PageControlState]\r\nActivePage=1\r\nServiceList=3\r\nEventList=2\r\n");
  CreateSettingsDialog();

  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(textOf(form->ServList), Red);
  EXPECT_EQ(backgroundOf(form->ServList), QColor(0, 128, 0));
  EXPECT_EQ(textOf(form->Groups), Red);
  EXPECT_EQ(textOf(form->RefreshMsg3), Red);
  EXPECT_EQ(textOf(form->Description), Red);
  EXPECT_EQ(textOf(form->Executable), QColor(255, 255, 0));
  EXPECT_EQ(textOf(form->Group), QApplication::palette().color(QPalette::Button));

  QHeaderView* header = form->ServList->header();
  EXPECT_EQ(header->sectionSize(0), 30) << "raised to the column's minimum";
  EXPECT_EQ(header->sectionSize(1), 150);
  EXPECT_EQ(header->visualIndex(0), 1) << "the recorded order is restored";
  EXPECT_EQ(header->visualIndex(1), 0);
  QHeaderView* events = form->EventLog->header();
  EXPECT_EQ(events->sectionSize(1), 600) << "lowered to the column's maximum";
  EXPECT_EQ(events->sectionSize(4), 50);
  EXPECT_EQ(events->visualIndex(2), 2) << "positions naming one place twice are not applied";

  EXPECT_EQ(form->pos(), QPoint(20, 10));
  EXPECT_EQ(form->size(), QSize(800, 560));
  EXPECT_EQ(form->Panel4->height(), 200);
  EXPECT_EQ(form->Panel2->width(), 300);
  EXPECT_EQ(console->pos(), QPoint(40, 30));
  EXPECT_EQ(console->size(), QSize(410, 320));
  EXPECT_TRUE(console->isVisible()) << "LastState counts without AutoHide";
  EXPECT_FALSE(console->AutoHide);
  const QFont font = console->Display->document()->defaultFont();
  EXPECT_EQ(font.family(), "Courier New");
  EXPECT_EQ(font.pointSize(), 11);
  EXPECT_TRUE(font.bold());

  EXPECT_TRUE(form->Timer->isActive());
  EXPECT_EQ(form->Timer->interval(), 45000);
  EXPECT_EQ(form->PageControl->currentIndex(), 1);
  EXPECT_TRUE(form->ServFilterButtons[2]->isChecked());
  EXPECT_TRUE(form->ServFilterItems[2]->isChecked());
  EXPECT_TRUE(form->EventFilterButtons[1]->isChecked());
  EXPECT_TRUE(form->EventFilterItems[1]->isChecked());
  EXPECT_TRUE(form->AutoRefreshEventLog());
  EXPECT_FALSE(program.settings.ShowWarnings);
  EXPECT_FALSE(program.settings.FullTree);
  EXPECT_TRUE(settings->CheckBox2->isChecked());
  EXPECT_FALSE(settings->CheckBox3->isChecked());
  EXPECT_FALSE(settings->AutoHide->isChecked());
  EXPECT_TRUE(settings->SaveConsole->isChecked());
  EXPECT_EQ(settings->SpinEdit->value(), 45);
  EXPECT_FALSE(settings->isVisible());
}

TEST_F(SettingsDialogTest, WithoutAFileEveryDefaultApplies) {
  CreateSettingsDialog();
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(textOf(form->ServList), White);
  EXPECT_EQ(backgroundOf(form->ServList), Black);
  EXPECT_EQ(textOf(form->Description), QColor(0, 255, 0));
  EXPECT_EQ(console->size(), QSize(400, 300));
  EXPECT_EQ(console->pos(), QPoint(0, 0));
  EXPECT_FALSE(console->isVisible());
  EXPECT_FALSE(form->Timer->isActive());
  EXPECT_EQ(form->Timer->interval(), 30000);
  EXPECT_TRUE(form->ServFilterButtons[0]->isChecked());
  EXPECT_EQ(form->ServList->header()->sectionSize(0), 300);
  EXPECT_FALSE(std::filesystem::exists(file())) << "reading creates nothing";
}

TEST_F(SettingsDialogTest, AValueThatIsNoNumberIsReportedAndTheStartGoesOn) {
  writeSettingsFile(
      "[Colors]\r\nDescriptiontext=clRed\r\n[AutoRefresh]\r\nAutoRefreshInterval=often\r\n"
      "[Console]\r\nMainWidth=500\r\n[PageControlState]\r\nActivePage=2\r\n");
  CreateSettingsDialog();

  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].text, "'often' is not a valid integer value");
  EXPECT_EQ(dialogs.asked[0].caption, "error");
  EXPECT_EQ(dialogs.asked[0].icon, DialogIcon::Error);
  // What came before is applied, what comes after keeps its default, and the first request ran.
  EXPECT_EQ(textOf(form->Description), Red);
  EXPECT_EQ(console->width(), 400);
  EXPECT_EQ(form->PageControl->currentIndex(), 0);
  EXPECT_FALSE(Names().empty());
  EXPECT_TRUE(form->PageControl->isEnabled());
}

TEST_F(SettingsDialogTest, AChosenColourIsAppliedAndWrittenBySave) {
  CreateSettingsDialog();
  settings->show();
  dialogs.colorAnswers.push_back(0x000000FF);
  settings->ListDblClick(ServicesListtext);
  ASSERT_EQ(dialogs.asked.back().kind, "color");
  EXPECT_EQ(dialogs.asked.back().color, 0x00FFFFFFu) << "the dialog opens on the current colour";
  EXPECT_EQ(settings->SwatchColor(ServicesListtext), Red);
  EXPECT_EQ(textOf(form->ServList), White) << "applied only by Save";

  settings->ok->click();
  EXPECT_FALSE(settings->isVisible());
  EXPECT_EQ(textOf(form->ServList), Red);
  EXPECT_EQ(textOf(form->RefreshMsg), Red);
  EXPECT_EQ(fileValue("Colors", "ServicesListtext"), "clRed");
  EXPECT_EQ(fileValue("Console", "FontName"), "Tahoma");
  EXPECT_EQ(fileValue("ServListColumns", "Column0"), "(missing)") << "the close writes columns";
}

TEST_F(SettingsDialogTest, CancelAppliesNothingButTheColourStaysForTheNextSave) {
  CreateSettingsDialog();
  settings->show();
  dialogs.colorAnswers.push_back(0x000000FF);
  settings->ListDblClick(Descriptiontext);
  settings->cancel->click();
  EXPECT_FALSE(settings->isVisible());
  EXPECT_EQ(textOf(form->Description), QColor(0, 255, 0));
  EXPECT_FALSE(std::filesystem::exists(file()));

  settings->show();
  EXPECT_EQ(settings->SwatchColor(Descriptiontext), Red);
  settings->ok->click();
  EXPECT_EQ(textOf(form->Description), Red);
  EXPECT_EQ(fileValue("Colors", "Descriptiontext"), "clRed");
}

TEST_F(SettingsDialogTest, WindowBackgroundAndACancelledColourDialogChangeNothing) {
  CreateSettingsDialog();
  settings->show();
  settings->ListDblClick(WindowBk);
  EXPECT_TRUE(dialogs.asked.empty());
  settings->ListDblClick(PathBk);  // no answer scripted: Cancel
  EXPECT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(program.settings.Colors[PathBk], Settings::initialColors()[PathBk]);
  EXPECT_EQ(settings->SwatchColor(WindowBk), QApplication::palette().color(QPalette::Button));
}

TEST_F(SettingsDialogTest, FontDialogApplyOkAndCancel) {
  CreateSettingsDialog();
  settings->show();
  EXPECT_EQ(settings->ChangeFont->text(), "Tahoma, size: 8");
  const auto consoleFont = [this] { return console->Display->document()->defaultFont(); };

  FontChoice applied{"Courier New", 10, false, false, false, false, 0};
  dialogs.fontApplies.push_back(applied);
  FontChoice chosen{"Courier New", 12, true, false, true, false, 0};
  dialogs.fontAnswers.push_back(chosen);
  settings->ChangeFont->click();
  ASSERT_EQ(dialogs.asked.back().kind, "font");
  EXPECT_EQ(dialogs.asked.back().font.family, "Tahoma");
  EXPECT_EQ(dialogs.asked.back().font.pointSize, 8);
  EXPECT_EQ(consoleFont().family(), "Courier New");
  EXPECT_EQ(consoleFont().pointSize(), 12);
  EXPECT_TRUE(consoleFont().bold());
  EXPECT_TRUE(consoleFont().underline());

  // The dialog's Cancel sets the font name back, and only the name.
  settings->cancel->click();
  EXPECT_EQ(consoleFont().family(), "Tahoma");
  EXPECT_EQ(consoleFont().pointSize(), 12);
  EXPECT_TRUE(consoleFont().bold());

  // Apply, then Cancel in the font dialog: back to the font it opened on.
  settings->show();
  EXPECT_EQ(settings->ChangeFont->text(), "Tahoma, size: 12");
  dialogs.fontApplies.push_back(applied);
  settings->ChangeFont->click();
  EXPECT_EQ(consoleFont().family(), "Tahoma");
  EXPECT_EQ(consoleFont().pointSize(), 12);
  settings->ok->click();
  EXPECT_EQ(fileValue("Console", "FontSize"), "12");
  EXPECT_EQ(fileValue("Console", "FontBold"), "1");
  EXPECT_EQ(fileValue("Console", "FontUnderline"), "1");
}

TEST_F(SettingsDialogTest, SaveCopiesTheBoxesAndAnIntervalOfZeroBecomesFive) {
  writeSettingsFile("[AutoRefresh]\r\nAutoRefreshEnabled=1\r\nAutoRefreshInterval=0\r\n");
  CreateSettingsDialog();
  EXPECT_FALSE(form->Timer->isActive()) << "a period of 0 never fires";
  EXPECT_EQ(program.settings.AutoRefreshInterval, 0);

  settings->show();
  EXPECT_EQ(settings->SpinEdit->value(), 5);
  EXPECT_EQ(program.settings.AutoRefreshInterval, 5);
  EXPECT_TRUE(settings->AutoRefresh->isChecked());

  settings->SpinEdit->setValue(20);
  settings->AutoHide->click();  // AutoHide off at once
  EXPECT_FALSE(program.settings.AutoHide);
  EXPECT_FALSE(console->AutoHide);
  settings->FullTree->setChecked(false);
  settings->CheckBox3->setChecked(false);
  settings->SaveConsole->setChecked(false);
  settings->ok->click();
  EXPECT_TRUE(form->Timer->isActive());
  EXPECT_EQ(form->Timer->interval(), 20000);
  EXPECT_FALSE(program.settings.FullTree);
  EXPECT_FALSE(program.settings.ShowWarnings);
  EXPECT_EQ(fileValue("AutoRefresh", "AutoRefreshInterval"), "20");
  EXPECT_EQ(fileValue("Console", "AutoHide"), "0");
  EXPECT_EQ(fileValue("Console", "SaveSettings"), "0");
  EXPECT_EQ(fileValue("Operation", "FullTree"), "0");
  EXPECT_EQ(fileValue("Miscellaneous", "ShowWarnings"), "0");
}

TEST_F(SettingsDialogTest, AFailedSaveIsShownAndTheDialogStaysOpen) {
  CreateSettingsDialog();
  std::filesystem::create_directories(file());
  settings->show();
  settings->CheckBox3->setChecked(false);
  settings->ok->click();
  EXPECT_TRUE(settings->isVisible());
  ASSERT_FALSE(messages().empty());
  EXPECT_NE(messages().back().find("settings.ini"), std::string::npos);
  EXPECT_FALSE(program.settings.ShowWarnings) << "the new values are in effect";
  settings->cancel->click();
  std::filesystem::remove(file());
}

TEST_F(SettingsDialogTest, DefaultsAskThenCloseAndDeleteTheFile) {
  writeSettingsFile("[LorvinStyle]\r\nMainTop=3\r\n\r\n[Colors]\r\nServicesListtext=clRed\r\n");
  CreateSettingsDialog();
  settings->show();
  dialogs.answers.push_back(DialogResult::Cancel);
  settings->reset->click();
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].text,
            "You chose to revert to the default settings \nand lose all customizations. If you "
            "press 'Ok'\nCorvane will close now and the next time \nyou will start it defaults "
            "will be in use.");
  EXPECT_EQ(dialogs.asked[0].icon, DialogIcon::Warning);
  EXPECT_EQ(dialogs.asked[0].buttons, DialogButtons::OkCancel);
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(std::filesystem::exists(file()));

  settings->reset->click();  // answered OK
  EXPECT_FALSE(settings->isVisible());
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(request.Closing);
  EXPECT_FALSE(std::filesystem::exists(file())) << "Lorvin's section goes with it";
}

TEST_F(SettingsDialogTest, TheCloseWritesLayoutPageAndFilters) {
  writeSettingsFile(
      "[LorvinStyle]\r\nMainTop=3\r\n\r\n[WindowStyle]\r\nMainTop=10\r\nMainLeft=20\r\n"
      "MainWidth=800\r\nMainHeight=560\r\nMainState=0\r\n");
  CreateSettingsDialog();
  QHeaderView* header = form->ServList->header();
  header->resizeSection(3, 95);
  header->moveSection(header->visualIndex(3), 1);  // "Status" dragged to position 1
  form->move(25, 15);
  form->PageControl->setCurrentIndex(2);
  form->ServFilterButtons[3]->setChecked(true);
  WaitForCompletion();
  console->show();

  EXPECT_TRUE(form->close());
  EXPECT_EQ(fileValue("LorvinStyle", "MainTop"), "3");
  EXPECT_EQ(fileValue("WindowStyle", "MainTop"), "15");
  EXPECT_EQ(fileValue("WindowStyle", "MainLeft"), "25");
  EXPECT_EQ(fileValue("WindowStyle", "MainState"), "0");
  EXPECT_EQ(fileValue("ServListColumns", "s_3"), "1");
  EXPECT_EQ(fileValue("ServListColumns", "Column3"), "95");
  EXPECT_EQ(fileValue("ServListColumns", "s_1"), "2");
  EXPECT_EQ(fileValue("PageControlState", "ActivePage"), "2");
  EXPECT_EQ(fileValue("PageControlState", "ServiceList"), "4");
  EXPECT_EQ(fileValue("PageControlState", "EventList"), "1");
  EXPECT_EQ(fileValue("Console", "LastState"), "1") << "visible when the close began";
  EXPECT_EQ(fileValue("Console", "MainWidth"), "400");
  EXPECT_EQ(fileValue("Colors", "ServicesListtext"), "(missing)") << "colours are Save's";
}

TEST_F(SettingsDialogTest, AMaximisedWindowWritesTheNormalBoundsReadAtStart) {
  writeSettingsFile(
      "[WindowStyle]\r\nMainTop=10\r\nMainLeft=20\r\nMainWidth=800\r\nMainHeight=560\r\n"
      "MainState=2\r\n");
  CreateSettingsDialog();
  EXPECT_TRUE(form->isMaximized());
  EXPECT_TRUE(form->close());
  EXPECT_EQ(fileValue("WindowStyle", "MainTop"), "10");
  EXPECT_EQ(fileValue("WindowStyle", "MainLeft"), "20");
  EXPECT_EQ(fileValue("WindowStyle", "MainWidth"), "800");
  EXPECT_EQ(fileValue("WindowStyle", "MainState"), "2");
}

TEST_F(SettingsDialogTest, TheSettingsMenuItemIsAvailable) {
  CreateSettingsDialog();
  EXPECT_TRUE(form->mSettings->isEnabled());
  EXPECT_EQ(form->mSettings->shortcut(), QKeySequence("Ctrl+P"));
  EXPECT_EQ(settings->windowTitle(), "Settings");
  EXPECT_EQ(settings->PageControl->count(), 3);
  EXPECT_EQ(settings->PageControl->tabText(2), "Operation");
  EXPECT_EQ(settings->List->count(), ColorItemCount);
  EXPECT_EQ(settings->List->item(12)->text(), "Window background");
}

}  // namespace
}  // namespace corvane::testing
