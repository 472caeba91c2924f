#include "corvane/shell/settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#include "common/ini_document.h"
#include "support/temp_folder.h"

namespace corvane {
namespace {

using testing::TempFolder;

const WindowBounds MainNow{50, 50, 900, 640};

std::string fileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class SettingsFileTest : public ::testing::Test {
 protected:
  TempFolder folder;
  std::filesystem::path file = settingsFilePath(folder.path());

  void writeFile(const std::string& text) { folder.write("settings.ini", text); }

  // The settings read from a file of these lines.
  Settings readFrom(const std::string& text, ReadOutcome* outcome = nullptr) {
    writeFile(text);
    Settings settings;
    const ReadOutcome result = readSettings(file, settings, MainNow);
    if (outcome != nullptr) {
      *outcome = result;
    }
    return settings;
  }
};

// Every variable away from its initial value, as the dialog and the windows could leave them.
Settings changedSettings() {
  Settings s;
  for (std::size_t i = 0; i < s.Colors.size(); ++i) {
    s.Colors[i] = rgbColor(static_cast<int>(i) * 10, 1, 2);
  }
  s.Colors[FilterPanelBk] = SystemColorBase + 25;  // a system colour without a name
  s.Colors[WindowBk] = clNone;
  s.AutoRefreshEnabled = 1;
  s.AutoRefreshInterval = 77;
  s.AutoRefreshEventLog = true;
  s.CustomPanel = true;
  s.ShowWarnings = false;
  s.Main = {11, 12, 1013, 714};
  s.MainState = MainStateMaximized;
  s.Panel4Height = 210;
  s.Panel2Width = 333;
  s.ServListColumns = {{301, 121, 81, 81, 101, 301, 101}, {6, 5, 4, 3, 2, 1, 0}};
  s.EventLogColumns = {{111, 141, 151, 141, 61, 61, 61, 101, 101, 101},
                       {1, 0, 2, 3, 4, 5, 6, 7, 9, 8}};
  s.SnapShotColumns = {{304, 122, 82, 83}, {0, 3, 1, 2}};
  s.Console = {-20, 30, 420, 310};
  s.FontName = "Courier New";
  s.FontSize = 12;
  s.FontBold = true;
  s.FontItalic = true;
  s.FontUnderline = true;
  s.FontStrikeOut = true;
  s.SaveSettings = true;  // else the reader centres the console
  s.AutoHide = false;     // else LastState is not read
  s.LastState = true;
  s.RecForm = {5, 6, 607, 408};
  s.FullTree = false;
  s.ActivePage = 2;
  s.ServiceList = 4;
  s.EventList = 3;
  return s;
}

TEST_F(SettingsFileTest, EveryKeyWrittenBySaveAndCloseReadsBack) {
  const Settings written = changedSettings();
  writeSavedSettings(file, written);
  writeCloseSettings(file, written);

  Settings read;
  ASSERT_TRUE(readSettings(file, read, MainNow).ok());
  EXPECT_EQ(read, written);
}

TEST_F(SettingsFileTest, SaveAndCloseWriteTheirOwnKeysInOrder) {
  Settings settings;
  settings.Colors[ServicesListtext] = rgbColor(255, 0, 0);
  settings.Colors[Descriptiontext] = rgbColor(0, 128, 255);
  writeSavedSettings(file, settings);
  EXPECT_EQ(fileText(file),
            "[Colors]\r\nServicesListtext=clRed\r\nDescriptiontext=$00FF8000\r\n"
            "Pathtext=clWhite\r\nDependenciestext=clYellow\r\nFilterPaneltext=clBlack\r\n"
            "Grouptext=clAqua\r\nServicesListBk=clBlack\r\nDescriptionBk=clBlack\r\n"
            "PathBk=clBlack\r\nDependenciesBk=clBlack\r\nFilterPanelBk=clBtnFace\r\n"
            "GroupBk=clBlack\r\nWindowBk=clBtnFace\r\n\r\n"
            "[AutoRefresh]\r\nAutoRefreshEnabled=0\r\nAutoRefreshEventLog=0\r\n"
            "AutoRefreshInterval=30\r\nCustomPanel=0\r\n\r\n"
            "[Miscellaneous]\r\nShowWarnings=1\r\n\r\n"
            "[Console]\r\nMainTop=0\r\nMainLeft=0\r\nMainWidth=400\r\nMainHeight=300\r\n"
            "FontName=Tahoma\r\nFontSize=8\r\nFontBold=0\r\nFontItalic=0\r\nFontUnderline=0\r\n"
            "FontStrikeOut=0\r\nSaveSettings=1\r\nAutoHide=1\r\n\r\n"
            "[RecForm]\r\nMainTop=0\r\nMainLeft=0\r\nMainWidth=600\r\nMainHeight=420\r\n\r\n"
            "[Operation]\r\nFullTree=1\r\n\r\n"
            "[WindowStyle]\r\nMainTop=50\r\nMainLeft=50\r\nMainWidth=900\r\nMainHeight=640\r\n"
            "MainState=0\r\nPanel4Height=160\r\nPanel2Width=382\r\n\r\n");

  // The close adds the column sections and the page state at the end and keeps the rest.
  const std::string saved = fileText(file);
  settings.SaveSettings = false;
  settings.Console = {1, 2, 3, 4};
  writeCloseSettings(file, settings);
  const std::string closed = fileText(file);
  // Only LastState joins the sections that were there; SaveSettings off leaves the console's
  // bounds alone.
  std::string expectedHead = saved;
  expectedHead.replace(expectedHead.find("AutoHide=1\r\n"), 12, "AutoHide=1\r\nLastState=0\r\n");
  EXPECT_EQ(closed.substr(0, closed.find("[ServListColumns]")), expectedHead);
  const std::string tail = closed.substr(closed.find("[ServListColumns]"));
  EXPECT_EQ(tail,
            "[ServListColumns]\r\nColumn0=300\r\nColumn1=120\r\nColumn2=80\r\nColumn3=80\r\n"
            "Column4=100\r\nColumn5=300\r\nColumn6=100\r\ns_0=0\r\ns_1=1\r\ns_2=2\r\ns_3=3\r\n"
            "s_4=4\r\ns_5=5\r\ns_6=6\r\n\r\n"
            "[EventLogColumns]\r\nColumn0=110\r\nColumn1=140\r\nColumn2=150\r\nColumn3=140\r\n"
            "Column4=60\r\nColumn5=60\r\nColumn6=60\r\nColumn7=100\r\nColumn8=100\r\n"
            "Column9=100\r\ne_0=0\r\ne_1=1\r\ne_2=2\r\ne_3=3\r\ne_4=4\r\ne_5=5\r\ne_6=6\r\n"
            "e_7=7\r\ne_8=8\r\ne_9=9\r\n\r\n"
            "[SnapShotColumns]\r\nColumn0=303\r\nColumn1=120\r\nColumn2=80\r\nColumn3=80\r\n"
            "k_0=0\r\nk_1=1\r\nk_2=2\r\nk_3=3\r\n\r\n"
            "[PageControlState]\r\nActivePage=0\r\nServiceList=1\r\nEventList=1\r\n\r\n");
}

TEST_F(SettingsFileTest, AMissingFileLeavesEveryDefault) {
  Settings settings;
  ASSERT_TRUE(readSettings(file, settings, MainNow).ok());
  Settings expected;
  // The snapshot window is centred on the main window: 50 + (640 - 420) / 2, 50 + (900 - 600) / 2.
  expected.RecForm = {160, 200, 600, 420};
  EXPECT_EQ(settings, expected);
  EXPECT_EQ(settings.Colors[ServicesListtext], rgbColor(255, 255, 255));
  EXPECT_EQ(settings.Colors[ServicesListBk], rgbColor(0, 0, 0));
  EXPECT_EQ(settings.Main, (WindowBounds{50, 50, 900, 640}));
  EXPECT_EQ(settings.Console, (WindowBounds{0, 0, 400, 300}));
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(SettingsFileTest, ValuesThatAreNotWhatTheKeyHolds) {
  struct Case {
    const char* what;
    std::string file;
    std::string error;
    std::function<void(const Settings&)> check;
  };
  const Settings initial;
  const std::vector<Case> cases = {
      {"colour name", "[Colors]\nServicesListtext=clRed\n", "",
       [](const Settings& s) { EXPECT_EQ(s.Colors[ServicesListtext], 0x000000FFu); }},
      {"colour in hexadecimal", "[Colors]\nServicesListtext=$000000FF\n", "",
       [](const Settings& s) { EXPECT_EQ(s.Colors[ServicesListtext], 0x000000FFu); }},
      {"colour in decimal", "[Colors]\nServicesListtext=255\n", "",
       [](const Settings& s) { EXPECT_EQ(s.Colors[ServicesListtext], 0x000000FFu); }},
      {"colour name in any case", "[colors]\nservicesListBk=clbtnface\n", "",
       [](const Settings& s) { EXPECT_EQ(s.Colors[ServicesListBk], 0x8000000Fu); }},
      {"system colour without a name", "[Colors]\nPathBk=$80000019\n", "",
       [](const Settings& s) { EXPECT_EQ(s.Colors[PathBk], 0x80000019u); }},
      {"colour that is no colour stops the reading",
       "[Colors]\nDescriptiontext=clBlue\nServicesListtext=red\nPathtext=clRed\n"
       "[AutoRefresh]\nAutoRefreshInterval=45\n",
       "'red' is not a valid integer value",
       [&initial](const Settings& s) {
         EXPECT_EQ(s.Colors[Descriptiontext], initial.Colors[Descriptiontext])
             << "ServicesListtext comes first";
         EXPECT_EQ(s.Colors[Pathtext], initial.Colors[Pathtext]);
         EXPECT_EQ(s.AutoRefreshInterval, 30);
       }},
      {"integer holding text",
       "[AutoRefresh]\nAutoRefreshEnabled=1\nAutoRefreshInterval=often\nCustomPanel=1\n",
       "'often' is not a valid integer value",
       [](const Settings& s) {
         EXPECT_EQ(s.AutoRefreshEnabled, 1);
         EXPECT_EQ(s.AutoRefreshInterval, 30);
         EXPECT_FALSE(s.CustomPanel);
       }},
      {"empty value", "[Miscellaneous]\nShowWarnings=\n", "'' is not a valid integer value",
       [](const Settings& s) { EXPECT_TRUE(s.ShowWarnings); }},
      {"number too large for an integer", "[WindowStyle]\nMainTop=99999999999\n",
       "'99999999999' is not a valid integer value", nullptr},
      {"hexadecimal integer", "[AutoRefresh]\nAutoRefreshInterval=0x3C\nAutoRefreshEnabled=$1\n",
       "",
       [](const Settings& s) {
         EXPECT_EQ(s.AutoRefreshInterval, 60);
         EXPECT_EQ(s.AutoRefreshEnabled, 1);
       }},
      {"flag other than 0 is on", "[AutoRefresh]\nAutoRefreshEventLog=-7\n", "",
       [](const Settings& s) { EXPECT_TRUE(s.AutoRefreshEventLog); }},
      {"font style that is not a number keeps its value and goes on",
       "[Console]\nFontBold=yes\nFontItalic=2\nFontUnderline=\nSaveSettings=0\n", "",
       [](const Settings& s) {
         EXPECT_FALSE(s.FontBold);
         EXPECT_TRUE(s.FontItalic);
         EXPECT_FALSE(s.FontUnderline);
         EXPECT_FALSE(s.SaveSettings);
       }},
      {"window sizes no window can have keep their values",
       "[WindowStyle]\nMainWidth=99999\nMainHeight=-1\nMainTop=-5\nPanel4Height=100000\n"
       "[Console]\nFontSize=0\nMainLeft=40000\n",
       "",
       [](const Settings& s) {
         EXPECT_EQ(s.Main, (WindowBounds{-5, 50, 900, 640}));
         EXPECT_EQ(s.Panel4Height, 160);
         EXPECT_EQ(s.FontSize, 8);
         EXPECT_EQ(s.Console.Left, 0);
       }},
      {"interval 0 is kept: the timer then never fires", "[AutoRefresh]\nAutoRefreshInterval=0\n",
       "", [](const Settings& s) { EXPECT_EQ(s.AutoRefreshInterval, 0); }},
      {"LastState is ignored under AutoHide", "[Console]\nAutoHide=1\nLastState=1\n", "",
       [](const Settings& s) { EXPECT_FALSE(s.LastState); }},
      {"LastState is read without AutoHide", "[Console]\nAutoHide=0\nLastState=1\n", "",
       [](const Settings& s) { EXPECT_TRUE(s.LastState); }},
      {"a bad LastState under AutoHide is not read", "[Console]\nAutoHide=1\nLastState=x\n", "",
       nullptr},
      {"filters are read only with CustomPanel",
       "[AutoRefresh]\nCustomPanel=0\n[PageControlState]\nActivePage=1\nServiceList=3\n"
       "EventList=bad\n",
       "",
       [](const Settings& s) {
         EXPECT_EQ(s.ActivePage, 1);
         EXPECT_EQ(s.ServiceList, 1);
         EXPECT_EQ(s.EventList, 1);
       }},
      {"filter codes are kept as they are",
       "[AutoRefresh]\nCustomPanel=1\n[PageControlState]\nActivePage=5\nServiceList=7\n"
       "EventList=2\n",
       "",
       [](const Settings& s) {
         EXPECT_EQ(s.ActivePage, 5);
         EXPECT_EQ(s.ServiceList, 7);
         EXPECT_EQ(s.EventList, 2);
       }},
      {"a huge value is quoted cut short",
       "[Colors]\nServicesListtext=" + std::string(5000, 'x') + "\n",
       "'" + std::string(200, 'x') + "...' is not a valid integer value", nullptr},
      {"the last of repeated keys and sections wins",
       "[Operation]\nFullTree=0\n[Operation]\nFullTree=1\nfulltree=0\n", "",
       [](const Settings& s) { EXPECT_FALSE(s.FullTree); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ReadOutcome outcome;
    const Settings settings = readFrom(c.file, &outcome);
    EXPECT_EQ(outcome.error, c.error);
    if (c.check) {
      c.check(settings);
    }
  }
}

TEST_F(SettingsFileTest, AFailureStopsTheReadingButNotThePlacements) {
  ReadOutcome outcome;
  const Settings settings = readFrom(
      "[WindowStyle]\nMainTop=100\nMainLeft=100\nMainWidth=1000\nMainHeight=700\n"
      "[ServListColumns]\nColumn0=250\nColumn1=wide\nColumn2=90\n"
      "[Console]\nSaveSettings=0\nMainWidth=500\n",
      &outcome);
  EXPECT_EQ(outcome.error, "'wide' is not a valid integer value");
  EXPECT_EQ(settings.Main, (WindowBounds{100, 100, 1000, 700}));
  EXPECT_EQ(settings.ServListColumns.Widths[0], 250);
  EXPECT_EQ(settings.ServListColumns.Widths[2], 80);
  // SaveSettings stayed on: the console keeps its bounds; the snapshot window is centred.
  EXPECT_TRUE(settings.SaveSettings);
  EXPECT_EQ(settings.Console, (WindowBounds{0, 0, 400, 300}));
  EXPECT_EQ(settings.RecForm, (WindowBounds{160, 200, 600, 420}));
}

TEST_F(SettingsFileTest, PlacementOfTheSnapshotWindowAndTheConsole) {
  struct Case {
    const char* what;
    std::string file;
    WindowBounds recForm;
    WindowBounds console;
  };
  const std::vector<Case> cases = {
      {"top and left 0 centre the snapshot window on the main window as it is now",
       "[RecForm]\nMainWidth=301\nMainHeight=201\n",
       {50 + 219, 50 + 299, 301, 201},
       {0, 0, 400, 300}},
      {"top 0 and left 10 are kept",
       "[RecForm]\nMainTop=0\nMainLeft=10\n",
       {0, 10, 600, 420},
       {0, 0, 400, 300}},
      {"without SaveSettings the console is centred on the stored main bounds",
       "[WindowStyle]\nMainTop=10\nMainLeft=20\nMainWidth=901\nMainHeight=641\n"
       "[Console]\nSaveSettings=0\nMainTop=1\nMainLeft=2\nMainWidth=3\nMainHeight=4\n"
       "[RecForm]\nMainTop=1\n",
       {1, 0, 600, 420},
       {10 + 170, 20 + 250, 400, 300}},
      {"a main window smaller than the console gives halves truncated towards zero",
       "[WindowStyle]\nMainTop=0\nMainLeft=0\nMainWidth=399\nMainHeight=299\n"
       "[Console]\nSaveSettings=0\n[RecForm]\nMainTop=1\n",
       {1, 0, 600, 420},
       {0, 0, 400, 300}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Settings settings = readFrom(c.file);
    EXPECT_EQ(settings.RecForm, c.recForm);
    EXPECT_EQ(settings.Console, c.console);
  }
}

TEST_F(SettingsFileTest, WritersKeepWhatIsNotTheirs) {
  writeFile(
      "; Lorvin and a hand-written key\r\n[LorvinStyle]\r\nMainTop=7\r\nMainLeft=8\r\n"
      "MainWidth=640\r\nMainHeight=480\r\n\r\n[Colors]\r\nServicesListtext=clRed\r\n"
      "Mine=1\r\n\r\n[WindowStyle]\r\nMainTop=1\r\n\r\n");
  Settings settings;
  settings.Main = {3, 4, 905, 645};
  writeCloseSettings(file, settings);
  const std::string closed = fileText(file);
  EXPECT_EQ(closed.find("[LorvinStyle]\r\nMainTop=7\r\nMainLeft=8\r\nMainWidth=640\r\n"
                        "MainHeight=480\r\n\r\n[Colors]\r\nServicesListtext=clRed\r\nMine=1\r\n"
                        "\r\n[WindowStyle]\r\nMainTop=3\r\nMainLeft=4\r\n"),
            0u)
      << closed;

  writeSavedSettings(file, settings);
  const common::IniDocument document = common::IniDocument::open(file);
  EXPECT_EQ(document.readString("LorvinStyle", "MainHeight", ""), "480");
  EXPECT_EQ(document.readString("Colors", "Mine", ""), "1");
  EXPECT_EQ(document.readString("Colors", "ServicesListtext", ""), "clWhite");
  EXPECT_EQ(document.readString("PageControlState", "ActivePage", ""), "0");
  EXPECT_EQ(document.sectionNames().front(), "LorvinStyle");
}

TEST_F(SettingsFileTest, DefaultsDeleteTheWholeFile) {
  writeFile("[LorvinStyle]\r\nMainTop=7\r\n\r\n[Colors]\r\nServicesListtext=clRed\r\n");
  EXPECT_TRUE(deleteSettingsFile(file));
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_TRUE(deleteSettingsFile(file)) << "nothing to delete is no failure";

  Settings settings;
  ASSERT_TRUE(readSettings(file, settings, MainNow).ok());
  EXPECT_EQ(settings.Colors, Settings::initialColors());
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadKeepsEveryValueAndIsNotOverwritten) {
  std::filesystem::create_directories(file);
  Settings settings = changedSettings();
  settings.RecForm = {0, 0, 600, 420};
  const ReadOutcome outcome = readSettings(file, settings, MainNow);
  EXPECT_FALSE(outcome.ok());
  EXPECT_NE(outcome.error.find("settings.ini"), std::string::npos) << outcome.error;
  Settings expected = changedSettings();
  expected.RecForm = {160, 200, 600, 420};
  EXPECT_EQ(settings, expected);

  EXPECT_THROW(writeSavedSettings(file, settings), common::IniError);
  EXPECT_THROW(writeCloseSettings(file, settings), common::IniError);
  EXPECT_TRUE(std::filesystem::is_directory(file));
}

TEST_F(SettingsFileTest, BinaryGarbageNeverCrashesAndTheWritersStillWork) {
  std::mt19937 random(7);
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    std::string bytes;
    for (int i = 0; i < 4000; ++i) {
      const char pieces[] = {'[', ']', '=', '\r', '\n', ';', '$', 'x', '\0', '\x80'};
      bytes +=
          random() % 3 == 0 ? pieces[random() % sizeof pieces] : static_cast<char>(random() % 256);
    }
    // Known sections with binary values.
    bytes += "\n[Colors]\nServicesListtext=\x01\xff\n";
    Settings settings;
    writeFile(bytes);
    const ReadOutcome outcome = readSettings(file, settings, MainNow);
    EXPECT_FALSE(outcome.ok());
    EXPECT_EQ(settings.Colors[ServicesListtext], Settings::initialColors()[ServicesListtext]);
    writeCloseSettings(file, settings);
    writeSavedSettings(file, settings);
    Settings again;
    EXPECT_TRUE(readSettings(file, again, MainNow).ok());
  }
}

TEST(SettingsColors, NamesAndCodes) {
  for (const NamedColor& named : ColorNames) {
    SCOPED_TRACE(named.name);
    EXPECT_EQ(colorFromString(named.name), named.code);
    EXPECT_EQ(colorFromString(colorToString(named.code)), named.code);
  }
  struct Case {
    ColorCode code;
    const char* text;
  };
  const Case cases[] = {
      {0x000000FF, "clRed"},        {0x00FF8000, "$00FF8000"}, {0x8000000F, "clBtnFace"},
      {0x80000019, "$80000019"},    {clNone, "clNone"},        {clDefault, "clDefault"},
      {0x00C0DCC0, "clMoneyGreen"}, {0x80000005, "clWindow"},  {0xFFFFFFFF, "$FFFFFFFF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(colorToString(c.code), c.text);
  }
  EXPECT_EQ(colorFromString("-1"), 0xFFFFFFFFu);
  EXPECT_EQ(colorFromString("0x80000000"), 0x80000000u);
  EXPECT_EQ(colorFromString("$100000000"), std::nullopt);
  EXPECT_EQ(colorFromString("red"), std::nullopt);
  EXPECT_EQ(colorFromString(""), std::nullopt);
}

TEST(SettingsTimer, PeriodOfTheAutoRefreshTimer) {
  EXPECT_EQ(autoRefreshPeriodMs(30), 30000);
  EXPECT_EQ(autoRefreshPeriodMs(0), 0);
  EXPECT_EQ(autoRefreshPeriodMs(-5), 0);
  EXPECT_EQ(autoRefreshPeriodMs(INT_MAX), INT_MAX);
  EXPECT_EQ(filterCode({false, false, true, false}), 3);
  EXPECT_EQ(filterCode({false, false, false, false}), 0);
}

}  // namespace
}  // namespace corvane
