#include "corvane/catalogue/extra_descriptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

TEST(ExtraDescriptionsTest, HeaderLines) {
  struct Case {
    std::string line;
    bool header;
  };
  const Case cases[] = {{"[Alerter]", true},   {"[]", true},          {"[iniend]", true},
                        {"[", false},          {"]", false},          {"", false},
                        {" [Alerter]", false}, {"[Alerter] ", false}, {"text [x]", false}};
  for (const Case& c : cases) {
    EXPECT_EQ(isHeaderLine(c.line), c.header) << '"' << c.line << '"';
  }
}

TEST(ExtraDescriptionsTest, TheHeaderIsFoundByDisplayNameWithoutRegardToCase) {
  const std::vector<std::string> lines = {"Alerter", "[Computer Browser] ", "[computer BROWSER]",
                                          "[Computer Browser]"};
  EXPECT_EQ(findExtraDescriptionHeader(lines, "Computer Browser"), 2);
  EXPECT_EQ(findExtraDescriptionHeader(lines, "Alerter"), -1);
  EXPECT_EQ(findExtraDescriptionHeader({}, "Alerter"), -1);
}

TEST(ExtraDescriptionsTest, AHeaderInTheWesternCodePageMatchesTheDisplayName) {
  // "[Café]" saved in code page 1252.
  const std::vector<std::string> lines = {"[Caf\xE9]", "text"};
  EXPECT_EQ(findExtraDescriptionHeader(lines, "Café"), 0);
  EXPECT_EQ(findExtraDescriptionHeader(lines, "CAFé"), 0);
}

TEST(ExtraDescriptionsTest, DisplayLines) {
  struct Case {
    const char* what;
    std::string line;
    std::string shown;
  };
  const Case cases[] = {
      {"plain text", "Plain text\twith a tab", "Plain text\twith a tab"},
      {"valid UTF-8 stays", "Ünïcödé €", "Ünïcödé €"},
      {"code page 1252", "Caf\xE9 \x80 \x93quoted\x94", "Café € “quoted”"},
      {"bytes 1252 has no character for", "a\x81z", "a\xEF\xBF\xBDz"},
      {"NUL and other control characters", std::string("a\0b\x01\x7F", 5),
       "a\xEF\xBF\xBD"
       "b\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"a truncated UTF-8 sequence makes the line 1252", "\xC3", "Ã"},
      {"an overlong form is not UTF-8", "\xC0\xAF", "À¯"},
      {"an encoded surrogate is not UTF-8", "\xED\xA0\x80", "í\xC2\xA0\xE2\x82\xAC"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(displayLine(c.line), c.shown) << c.what;
  }
}

TEST(ExtraDescriptionsTest, SectionTextRunsToTheNextHeaderOrTheEnd) {
  const std::vector<std::string> lines = {"[A]", "", "", "a1", "", "a2", "[B]", "b1", ""};
  EXPECT_EQ(extraDescriptionText(lines, 0), (std::vector<std::string>{"a1", "", "a2"}));
  EXPECT_EQ(extraDescriptionText(lines, 6), (std::vector<std::string>{"b1", ""}));
  EXPECT_TRUE(extraDescriptionText({"[A]", "", ""}, 0).empty());
}

TEST(ExtraDescriptionsTest, AHugeSectionIsCutAtTheLimitOnACharacterBoundary) {
  // One enormous line, as a binary file without line breaks gives, of two-byte characters.
  std::string huge;
  for (std::size_t i = 0; i < MaxAdditionalDescriptionBytes; ++i) {
    huge += "é";
  }
  const std::vector<std::string> text = extraDescriptionText({"[A]", "short", huge, "after"}, 0);
  ASSERT_EQ(text.size(), 3u);
  EXPECT_EQ(text[0], "short");
  EXPECT_LE(text[0].size() + 1 + text[1].size(), MaxAdditionalDescriptionBytes);
  EXPECT_EQ(text[1].size() % 2, 0u) << "a character was split";
  EXPECT_EQ(text[2], AdditionalDescriptionCut);

  // Many lines that together pass the limit.
  std::vector<std::string> many = {"[A]"};
  many.insert(many.end(), MaxAdditionalDescriptionBytes / 10, std::string(9, 'x'));
  many.push_back("over the limit");
  const std::vector<std::string> cut = extraDescriptionText(many, 0);
  EXPECT_EQ(cut.back(), AdditionalDescriptionCut);
  std::size_t bytes = 0;
  for (std::size_t i = 0; i + 1 < cut.size(); ++i) {
    bytes += cut[i].size() + 1;
  }
  EXPECT_LE(bytes, MaxAdditionalDescriptionBytes + 1);
}

}  // namespace
}  // namespace corvane
