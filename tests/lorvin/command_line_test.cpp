#include "lorvin/lorvin_command_line.h"

#include <gtest/gtest.h>

namespace lorvin {
namespace {

const std::string Default = "/opt/corvane/help/about Lorvin.html";

struct Case {
  const char* name;
  std::vector<std::string> arguments;
  CommandLine expected;
};

CommandLine with(void (*change)(CommandLine&)) {
  CommandLine line;
  line.startPage = Default;
  line.homePage = Default;
  change(line);
  return line;
}

TEST(LorvinCommandLine, EachArgumentHasItsEffect) {
  const Case cases[] = {
      {"nothing", {}, with([](CommandLine&) {})},
      {"Corvane's three arguments",
       {"-cap:Corvane help", "-home:/opt/corvane/help/index.html",
        "/opt/corvane/help/mainwindow.html#Group_panel"},
       with([](CommandLine& l) {
         l.captionGiven = true;
         l.caption = "Corvane help";
         l.homePage = "/opt/corvane/help/index.html";
         l.startPage = "/opt/corvane/help/mainwindow.html#Group_panel";
       })},
      {"switches", {"-online", "-ontop"}, with([](CommandLine& l) {
         l.online = true;
         l.stayOnTop = true;
       })},
      {"switches heed case", {"-ONTOP"}, with([](CommandLine& l) { l.startPage = "-ONTOP"; })},
      {"switch must match exactly", {"-ontop2"}, with([](CommandLine& l) {
         l.startPage = "-ontop2";
       })},
      {"empty caption", {"-cap:"}, with([](CommandLine& l) { l.captionGiven = true; })},
      {"later overrides earlier",
       {"-cap:One", "a.html", "-cap:Two", "b.html", "-home:x", "-home:y"},
       with([](CommandLine& l) {
         l.captionGiven = true;
         l.caption = "Two";
         l.startPage = "b.html";
         l.homePage = "y";
       })},
      {"valid position", {"-pos:10,20,800,600"}, with([](CommandLine& l) {
         l.useSavedPlacement = false;
         l.position = {10, 20, 800, 600};
       })},
      {"position as scanf reads it", {"-pos: -5,+7, 800,600junk"}, with([](CommandLine& l) {
         l.useSavedPlacement = false;
         l.position = {-5, 7, 800, 600};
       })},
      {"two numbers", {"-pos:10,20"}, with([](CommandLine& l) { l.malformedPositions = 1; })},
      {"no digits", {"-pos:a,b,c,d"}, with([](CommandLine& l) { l.malformedPositions = 1; })},
      {"number past int", {"-pos:10,20,99999999999,600"}, with([](CommandLine& l) {
         l.malformedPositions = 1;
       })},
      {"malformed after valid keeps the valid one",
       {"-pos:1,2,700,500", "-pos:5,6"},
       with([](CommandLine& l) {
         l.useSavedPlacement = false;
         l.position = {1, 2, 700, 500};
         l.malformedPositions = 1;
       })},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CommandLine line = ParseCommandLine(c.arguments, Default);
    EXPECT_EQ(line.online, c.expected.online);
    EXPECT_EQ(line.stayOnTop, c.expected.stayOnTop);
    EXPECT_EQ(line.startPage, c.expected.startPage);
    EXPECT_EQ(line.homePage, c.expected.homePage);
    EXPECT_EQ(line.captionGiven, c.expected.captionGiven);
    EXPECT_EQ(line.caption, c.expected.caption);
    EXPECT_EQ(line.useSavedPlacement, c.expected.useSavedPlacement);
    EXPECT_EQ(line.position, c.expected.position);
    EXPECT_EQ(line.malformedPositions, c.expected.malformedPositions);
  }
}

TEST(LorvinCommandLine, DefaultPositionIsTheDesignOne) {
  EXPECT_EQ(ParseCommandLine({}, Default).position, (Placement{100, 100, 640, 480}));
}

TEST(LorvinCommandLine, HelpCaptionsAreThoseContainingHelpInSmallLetters) {
  EXPECT_TRUE(IsHelpCaption("Corvane help"));
  EXPECT_TRUE(IsHelpCaption("helpful"));
  EXPECT_FALSE(IsHelpCaption("About"));
  EXPECT_FALSE(IsHelpCaption("Corvane Help"));
}

}  // namespace
}  // namespace lorvin
