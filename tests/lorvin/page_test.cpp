#include "lorvin/lorvin_page.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace lorvin {
namespace {

TEST(LorvinPage, AddressesFilesAndAnchors) {
  struct Case {
    std::string text;
    Page expected;
  };
  const Case cases[] = {
      {"about:blank", {false, "", "", "about:blank"}},
      {"file:///opt/help/index.html", {false, "", "", "file:///opt/help/index.html"}},
      {"http://example.invalid/x#y", {false, "", "", "http://example.invalid/x#y"}},
      {"/opt/help/mainwindow.html#Group_panel",
       {true, "/opt/help/mainwindow.html", "Group_panel", ""}},
      {"C:\\Corvane\\help\\mainwindow.html#EventLog_panel",
       {true, "C:\\Corvane\\help\\mainwindow.html", "EventLog_panel", ""}},
      {"/opt/help/index.html", {true, "/opt/help/index.html", "", ""}},
      {"/opt/help/index.html#", {true, "/opt/help/index.html", "", ""}},
      {"/opt/#sharp/index.html", {true, "/opt/#sharp/index.html", "", ""}},
      {"relative.html#a#b", {true, "relative.html#a", "b", ""}},
      {"", {true, "", "", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParsePage(c.text), c.expected);
  }
}

TEST(LorvinPage, AnExistingFileWithSharpInItsNameIsTakenWhole) {
  corvane::testing::TempFolder folder;
  const std::string file = folder.write("page#2.html", "<p>x</p>");
  EXPECT_EQ(ParsePage(file), (Page{true, file, "", ""}));
}

}  // namespace
}  // namespace lorvin
