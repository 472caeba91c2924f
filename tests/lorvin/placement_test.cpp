#include "lorvin/lorvin_placement.h"

#include <gtest/gtest.h>

#include "common/atomic_file.h"
#include "support/temp_folder.h"

namespace lorvin {
namespace {

using corvane::testing::TempFolder;

const Placement Current{307, 223, 710, 494};

TEST(LorvinPlacement, ReadsEachKeyFallingBackToTheCurrentValue) {
  struct Case {
    const char* name;
    const char* text;
    Placement expected;
  };
  const Case cases[] = {
      {"all four",
       "[LorvinStyle]\r\nMainTop=20\r\nMainLeft=10\r\nMainWidth=800\r\nMainHeight=600\r\n",
       {10, 20, 800, 600}},
      {"missing section", "[Other]\r\nMainTop=20\r\n", Current},
      {"some keys", "[lorvinstyle]\r\nmainwidth = 900\r\n", {307, 223, 900, 494}},
      {"not a number", "[LorvinStyle]\r\nMainTop=high\r\nMainLeft=\r\nMainWidth=12px\r\n", Current},
      {"hexadecimal and negative",
       "[LorvinStyle]\r\nMainTop=$10\r\nMainLeft=-8\r\n",
       {-8, 16, 710, 494}},
      {"last occurrence wins",
       "[LorvinStyle]\r\nMainTop=1\r\n[LorvinStyle]\r\nMainTop=2\r\n",
       {307, 2, 710, 494}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadPlacement(common::IniDocument::parse(c.text), Current), c.expected);
  }
}

TEST(LorvinPlacement, UnreadableFilesGiveTheCurrentPlacement) {
  TempFolder folder;
  EXPECT_EQ(ReadPlacementFile(folder.path("missing.ini"), Current), Current);
  EXPECT_EQ(ReadPlacementFile(folder.path(), Current), Current);  // a folder
  const std::string binary = folder.write("binary.ini", std::string("\0\xff[\x01=\n", 6));
  EXPECT_EQ(ReadPlacementFile(binary, Current), Current);
}

TEST(LorvinPlacement, WritingKeepsEverythingElseOfTheFile) {
  TempFolder folder;
  const std::string file = folder.write("settings.ini",
                                        "[Main]\r\nTop=5\r\n[LorvinStyle]\r\nMainLeft=1\r\nOther="
                                        "keep\r\n[Console]\r\nFont=Tahoma\r\n");
  WritePlacementFile(file, {10, 20, 800, 600});
  EXPECT_EQ(common::readFile(file, 1 << 20),
            "[Main]\r\nTop=5\r\n\r\n"
            "[LorvinStyle]\r\nMainLeft=10\r\nOther=keep\r\nMainTop=20\r\nMainWidth=800\r\n"
            "MainHeight=600\r\n\r\n"
            "[Console]\r\nFont=Tahoma\r\n\r\n");
  EXPECT_EQ(ReadPlacementFile(file, Current), (Placement{10, 20, 800, 600}));
}

TEST(LorvinPlacement, WritingStartsFromTheFileAsItIsNow) {
  TempFolder folder;
  const std::string file = folder.path("settings.ini");
  WritePlacementFile(file, {1, 2, 3, 4});
  // Corvane writes its own keys meanwhile; the next write of Lorvin keeps them.
  common::IniDocument::modifyFile(
      file, [](common::IniDocument& settings) { settings.writeString("Main", "Width", "898"); });
  WritePlacementFile(file, {5, 6, 7, 8});
  const common::IniDocument settings = common::IniDocument::open(file);
  EXPECT_EQ(settings.readString("Main", "Width", ""), "898");
  EXPECT_EQ(settings.readString("LorvinStyle", "MainLeft", ""), "5");
  EXPECT_EQ(settings.keyNames("LorvinStyle").size(), 4u);
}

TEST(LorvinPlacement, AFileThatCannotBeWrittenIsLeftAsItWas) {
  TempFolder folder;
  const std::string settingsFolder = folder.path("settings.ini");
  std::filesystem::create_directories(settingsFolder);
  EXPECT_THROW(WritePlacementFile(settingsFolder, Current), common::IniError);
  EXPECT_TRUE(std::filesystem::is_directory(settingsFolder));
}

TEST(LorvinPlacement, FitInsideMovesAndShrinksIntoTheArea) {
  const Area screen{0, 0, 1280, 1024};
  struct Case {
    Placement placement;
    Placement expected;
  };
  const Case cases[] = {
      {{100, 100, 640, 480}, {100, 100, 640, 480}},
      {{-50, -10, 640, 480}, {0, 0, 640, 480}},
      {{1000, 900, 640, 480}, {640, 544, 640, 480}},
      {{10, 10, 3000, 2000}, {0, 0, 1280, 1024}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FitInside(c.placement, screen), c.expected);
  }
  EXPECT_EQ(FitInside({0, 0, 640, 480}, {1280, 0, 1024, 768}), (Placement{1280, 0, 640, 480}));
}

}  // namespace
}  // namespace lorvin
