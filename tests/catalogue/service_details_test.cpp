#include "corvane/catalogue/service_details.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corvane/catalogue/extra_descriptions.h"

namespace corvane {
namespace {

ServiceRecord entry(const std::string& display, const std::string& description, int failMark = 0) {
  ServiceRecord r;
  r.DisplayName = display;
  r.DescriptionText = description;
  r.FailMark = failMark;
  r.ExecutablePath = "C:\\WINDOWS\\System32\\svchost.exe -k netsvcs";
  r.GroupText = "NetworkProvider";
  return r;
}

// The bold stretches as the texts they cover.
std::vector<std::string> boldTexts(const ServiceDetails& details) {
  std::vector<std::string> texts;
  for (const TextRange& range : details.Bold) {
    texts.push_back(details.Text.substr(range.start, range.length));
  }
  return texts;
}

TEST(ServiceDetailsTest, PanelTextFromTheRegistryAndTheExtraDescriptions) {
  const std::vector<std::string> file = {
      "lines before the first header are ignored",
      "[ALERTER]",
      "",
      "line A",
      "",
      "line B",
      "[Messenger]",
      "text of Messenger",
      "[Empty Section]",
      "[Last Without End]",
      "last text",
      "",
      "still last text",
  };
  struct Case {
    const char* what;
    std::string display;
    std::string description;
    std::string panel;
  };
  const Case cases[] = {
      {"no section: the registry description alone", "Browser", "Keeps the list.",
       "Description:\nKeeps the list."},
      {"a registry description over several lines", "Browser", "one\r\ntwo\rthree\nfour",
       "Description:\none\ntwo\nthree\nfour"},
      {"header in other letter case; empty lines after the header dropped, inner ones kept",
       "Alerter", "Sends alerts.",
       "Description:\nSends alerts.\n\nAdditional description:\nline A\n\nline B"},
      {"a description ending in a line break gets no second empty line", "Alerter",
       "Sends alerts.\r\n",
       "Description:\nSends alerts.\n\nAdditional description:\nline A\n\nline B"},
      {"an empty registry description", "Messenger", "",
       "Description:\n\nAdditional description:\ntext of Messenger"},
      {"a header followed by a header", "Empty Section", "x",
       "Description:\nx\n\nAdditional description:"},
      {"the last section without [iniend] runs to the end", "Last Without End", "x",
       "Description:\nx\n\nAdditional description:\nlast text\n\nstill last text"},
      {"a header line inside a section is never a service's text", "line A", "x",
       "Description:\nx"},
  };
  for (const Case& c : cases) {
    const ServiceDetails details = composeServiceDetails(entry(c.display, c.description), file);
    EXPECT_EQ(details.Text, c.panel) << c.what;
    const std::vector<std::string> bold = boldTexts(details);
    ASSERT_FALSE(bold.empty()) << c.what;
    EXPECT_EQ(bold[0], "Description:") << c.what;
    const bool additional = c.panel.find("Additional description:") != std::string::npos;
    EXPECT_EQ(bold.size(), additional ? 2u : 1u) << c.what;
    if (additional) {
      EXPECT_EQ(bold[1], "Additional description:") << c.what;
    }
  }
}

TEST(ServiceDetailsTest, FirstNoteAndFirstTakeNoteAreBold) {
  const std::vector<std::string> file = {"[Spooler]", "Note: one", "Take Note: two", "Note: three",
                                         "[iniend]"};
  const ServiceDetails details =
      composeServiceDetails(entry("Print Spooler", "note: lower case is not matched"), file);
  EXPECT_EQ(details.Text, "Description:\nnote: lower case is not matched");

  const ServiceDetails spooler = composeServiceDetails(entry("Spooler", "Spools."), file);
  ASSERT_EQ(spooler.Bold.size(), 4u);
  const std::size_t firstNote = spooler.Text.find("Note: one");
  EXPECT_EQ(spooler.Bold[2].start, firstNote);
  EXPECT_EQ(spooler.Bold[2].length, 5u);
  EXPECT_EQ(spooler.Text.substr(spooler.Bold[3].start, spooler.Bold[3].length), "Take Note:");
  EXPECT_EQ(spooler.Bold[3].start, spooler.Text.find("Take Note:"));
}

TEST(ServiceDetailsTest, AFailedEntryIsRedWithItsMarkerEvenWithAnAdditionalDescription) {
  const std::vector<std::string> file = {"[Broken]", "extra", "[iniend]"};
  const ServiceDetails details =
      composeServiceDetails(entry("Broken", " - error querying service config - ", -1), file);
  EXPECT_TRUE(details.FailColour);
  EXPECT_EQ(details.Text,
            "Description:\n - error querying service config - \n\nAdditional description:\nextra");
  EXPECT_FALSE(composeServiceDetails(entry("Fine", "ok"), file).FailColour);
}

TEST(ServiceDetailsTest, ExecutableAndGroupComeFromTheEntry) {
  const ServiceDetails details = composeServiceDetails(entry("Alerter", "x"), {""});
  EXPECT_EQ(details.Executable, "C:\\WINDOWS\\System32\\svchost.exe -k netsvcs");
  EXPECT_EQ(details.Group, "NetworkProvider");
}

TEST(ServiceDetailsTest, ANoteInsideAMultiByteTextIsFoundAtItsByteOffset) {
  const std::vector<std::string> file = {"[Café]", "Ünïcode first. Note: here", "[iniend]"};
  const ServiceDetails details = composeServiceDetails(entry("Café", "é"), file);
  ASSERT_EQ(details.Bold.size(), 3u);
  EXPECT_EQ(details.Text.substr(details.Bold[2].start, details.Bold[2].length), "Note:");
}

}  // namespace
}  // namespace corvane
