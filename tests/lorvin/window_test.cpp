// Lorvin's window offscreen: what the command line does to it, the buttons, the completion
// events, the marker watch and the placement saved at close.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTextCursor>
#include <fstream>

#include "common/ini_document.h"
#include "lorvin/Form_main.h"
#include "support/temp_folder.h"

namespace lorvin {
namespace {

QApplication& application() {
  static int argc = 1;
  static char name[] = "lorvin_tests";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

class LorvinWindow : public ::testing::Test {
 protected:
  LorvinWindow() {
    folder.write("help/index.html", "<h1>Contents</h1><p><a href=\"about.html\">About</a></p>");
    folder.write("help/about.html", "<h1>About Corvane</h1>");
    folder.write("help/about Lorvin.html", "<h1>About Lorvin</h1>");
    folder.write("help/mainwindow.html",
                 "<h1>Main</h1><a name=\"Group_panel\"></a><h2>Groups</h2>");
    form.showMessage = [this](const std::string& text) { messages.push_back(text); };
  }

  std::string help(const std::string& page) const { return folder.path("help/" + page); }
  std::string title() const { return form.windowTitle().toStdString(); }
  std::string shownText() const { return form.WebBrowser->toPlainText().toStdString(); }
  common::IniDocument settings() const {
    return common::IniDocument::open(folder.path("settings.ini"));
  }

  QApplication& app = application();  // before any widget
  corvane::testing::TempFolder folder;
  TMainForm form;
  std::vector<std::string> messages;
};

TEST_F(LorvinWindow, NoArgumentsShowAboutLorvinAtTheSavedPlacement) {
  folder.write("settings.ini",
               "[LorvinStyle]\r\nMainTop=40\r\nMainLeft=30\r\nMainWidth=700\r\nMainHeight=500\r\n");
  form.FormCreate(folder.path(), {});
  form.show();
  EXPECT_EQ(title(), DefaultCaption);
  EXPECT_TRUE(form.windowIcon().isNull());
  EXPECT_EQ(form.StartPage, help("about Lorvin.html"));
  EXPECT_EQ(form.HomePage, help("about Lorvin.html"));
  EXPECT_EQ(form.Address->text().toStdString(), help("about Lorvin.html"));
  EXPECT_NE(shownText().find("About Lorvin"), std::string::npos);
  EXPECT_EQ(form.CurrentPlacement(), (Placement{30, 40, 700, 500}));
  EXPECT_TRUE(messages.empty());
}

TEST_F(LorvinWindow, CorvanesHelpLaunchGivesItsCaptionIconPageAndHome) {
  form.FormCreate(folder.path(), {"-cap:Corvane help", "-home:" + help("index.html"),
                                  help("mainwindow.html#Group_panel")});
  form.show();
  EXPECT_EQ(title(), "Corvane help");
  EXPECT_EQ(form.windowIcon().cacheKey(), form.ImageList[6].cacheKey());
  EXPECT_NE(shownText().find("Groups"), std::string::npos);
  EXPECT_EQ(form.WebBrowser->source().fragment().toStdString(), "Group_panel");

  form.BHomeClick();
  EXPECT_NE(shownText().find("Contents"), std::string::npos);
  EXPECT_EQ(form.Address->text().toStdString(), help("index.html"));
}

TEST_F(LorvinWindow, TheAboutCaptionKeepsTheNormalIcon) {
  form.FormCreate(folder.path(), {"-cap:About"});
  EXPECT_EQ(title(), "About");
  EXPECT_TRUE(form.windowIcon().isNull());
}

TEST_F(LorvinWindow, CompletionEventsPutTheLocationIntoTheAddress) {
  form.FormCreate(folder.path(), {help("index.html")});
  form.show();
  form.StatusBar->showMessage("hovered link");
  form.Address->setText(QString::fromStdString(help("about.html")));
  form.BGoClick();
  EXPECT_NE(shownText().find("About Corvane"), std::string::npos);
  EXPECT_EQ(form.Address->text(),
            QUrl::fromLocalFile(QString::fromStdString(help("about.html"))).toString());
  EXPECT_TRUE(form.StatusBar->currentMessage().isEmpty());

  form.BBackClick();
  EXPECT_NE(shownText().find("Contents"), std::string::npos);
  form.BForwardClick();
  EXPECT_NE(shownText().find("About Corvane"), std::string::npos);
}

TEST_F(LorvinWindow, MissingPagesAndWebAddressesOfflineShowAMessagePage) {
  form.FormCreate(folder.path(), {help("nothing here.html")});
  form.show();
  EXPECT_NE(shownText().find("Page not found"), std::string::npos);
  const std::string huge = help("huge.html");
  std::ofstream(huge).put('<');
  std::filesystem::resize_file(huge, QtWebBrowser::MaxPageBytes + 1);
  form.WebBrowser->Navigate(QString::fromStdString(huge));
  EXPECT_NE(shownText().find("Page too large"), std::string::npos);
  form.WebBrowser->Navigate(
      QString::fromStdString(folder.write("help/binary.html", std::string("\0\xff\x01<a\0", 6))));
  EXPECT_EQ(form.Address->text(),
            QUrl::fromLocalFile(QString::fromStdString(help("binary.html"))).toString());
  form.WebBrowser->Navigate("http://example.invalid/");
  EXPECT_NE(shownText().find("Not available offline"), std::string::npos);
  EXPECT_EQ(form.Address->text().toStdString(), "http://example.invalid/");
  form.WebBrowser->Navigate("about:blank");
  EXPECT_EQ(shownText(), "");
  EXPECT_EQ(form.Address->text().toStdString(), "about:blank");
}

TEST_F(LorvinWindow, OnlineAndOnTopSwitches) {
  form.FormCreate(folder.path(), {"-online", "-ontop"});
  EXPECT_FALSE(form.WebBrowser->Offline());
  EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(LorvinWindow, AValidPositionPlacesTheWindowAndIsSavedAtClose) {
  folder.write("settings.ini", "[LorvinStyle]\r\nMainTop=400\r\n[Main]\r\nTop=5\r\n");
  form.FormCreate(folder.path(), {"-pos:10,20,800,600"});
  EXPECT_FALSE(form.UseSavedPlacement);
  EXPECT_EQ(form.CurrentPlacement(), (Placement{10, 20, 800, 600}));
  form.close();
  const common::IniDocument saved = settings();
  EXPECT_EQ(saved.readString("LorvinStyle", "MainLeft", ""), "10");
  EXPECT_EQ(saved.readString("LorvinStyle", "MainTop", ""), "20");
  EXPECT_EQ(saved.readString("LorvinStyle", "MainWidth", ""), "800");
  EXPECT_EQ(saved.readString("LorvinStyle", "MainHeight", ""), "600");
  EXPECT_EQ(saved.readString("Main", "Top", ""), "5");
}

TEST_F(LorvinWindow, AMalformedPositionIsReportedAndTheSavedPlacementUsed) {
  folder.write("settings.ini",
               "[LorvinStyle]\r\nMainTop=40\r\nMainLeft=30\r\nMainWidth=700\r\nMainHeight=500\r\n");
  form.FormCreate(folder.path(), {"-pos:10,20"});
  EXPECT_EQ(messages, std::vector<std::string>{"Error in command line !"});
  EXPECT_TRUE(form.UseSavedPlacement);
  EXPECT_EQ(form.CurrentPlacement(), (Placement{30, 40, 700, 500}));
}

TEST_F(LorvinWindow, TheWindowIsNeverSmallerThanItsMinimum) {
  form.FormCreate(folder.path(), {"-pos:0,0,10,10"});
  EXPECT_EQ(form.width(), 640);
  EXPECT_EQ(form.height(), 480);
}

TEST_F(LorvinWindow, DeletingTheMarkerClosesTheWindowOnTheNextTickAndSavesThePlacement) {
  form.FormCreate(folder.path(), {"-pos:50,60,700,500"});
  form.show();
  const std::string flag = folder.path("browse.flag");
  ASSERT_TRUE(std::filesystem::exists(flag));
  form.TimerTimer();
  EXPECT_TRUE(form.isVisible());
  EXPECT_FALSE(form.BStop->isEnabled());

  std::filesystem::remove(flag);
  form.TimerTimer();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(settings().readString("LorvinStyle", "MainLeft", ""), "50");
  EXPECT_EQ(form.Timer->interval(), 500);
}

}  // namespace
}  // namespace lorvin
