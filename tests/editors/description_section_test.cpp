#include "corvane/editors/description_section.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using Lines = std::vector<std::string>;

// The lines as a file holds them, each ended by CR LF.
std::string file(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line + "\r\n";
  }
  return text;
}

TEST(PutSection, WritesTheSectionAndKeepsEverythingElseInPlace) {
  struct Case {
    const char* what;
    Lines before;
    std::string name;
    std::string text;
    Lines after;
  };
  const Case cases[] = {
      {"a new section goes before [iniend] with an empty line after its body",
       {"[A]", "a", "", "[iniend]"},
       "New",
       "one\r\ntwo",
       {"[A]", "a", "", "[New]", "one", "two", "", "[iniend]"}},
      {"an empty text removes the section and keeps the one after it",
       {"[A]", "a", "", "[B]", "b", "", "[iniend]"},
       "a",
       "",
       {"[B]", "b", "", "[iniend]"}},
      {"an empty text for a service without a section changes nothing",
       {"[A]", "a", "", "[iniend]"},
       "New",
       "",
       {"[A]", "a", "", "[iniend]"}},
      {"a single character is a body", {"[iniend]"}, "Zero", "0", {"[Zero]", "0", "", "[iniend]"}},
      {"trailing line breaks go, one empty line follows the body",
       {"[iniend]"},
       "N",
       "body\r\n\r\n\r\n",
       {"[N]", "body", "", "[iniend]"}},
      {"a one-character body loses its trailing line breaks too",
       {"[iniend]"},
       "N",
       "A\r\n\r\n",
       {"[N]", "A", "", "[iniend]"}},
      {"a text of line breaks alone keeps one of them",
       {"[iniend]"},
       "N",
       "\r\n\r\n\r\n",
       {"[N]", "", "", "", "[iniend]"}},
      {"a header in other letter case is replaced in place and keeps its case",
       {"[alerter]", "", "old", "", "old 2", "", "[B]", "b", "[iniend]"},
       "Alerter",
       "new",
       {"[alerter]", "new", "", "[B]", "b", "[iniend]"}},
      {"empty lines inside the new text are kept",
       {"[A]", "a", "[iniend]"},
       "A",
       "x\r\n\r\ny",
       {"[A]", "x", "", "y", "", "[iniend]"}},
      {"[iniend] is appended when missing; a new section goes before it",
       {"[A]", "a"},
       "New",
       "x",
       {"[A]", "a", "[New]", "x", "", "[iniend]"}},
      {"[iniend] is appended after a replaced last section",
       {"[A]", "a"},
       "A",
       "b",
       {"[A]", "b", "", "[iniend]"}},
      {"[iniend] in other letter case is the end",
       {"[A]", "a", "[INIEND]"},
       "New",
       "x",
       {"[A]", "a", "[New]", "x", "", "[INIEND]"}},
      {"an empty file gets the section and [iniend]",
       {},
       "New",
       "x",
       {"[New]", "x", "", "[iniend]"}},
      {"lines before the first header stay",
       {"; shipped with the program", "", "[A]", "a", "[iniend]"},
       "A",
       "b",
       {"; shipped with the program", "", "[A]", "b", "", "[iniend]"}},
      {"a section after [iniend] is edited where it is",
       {"[iniend]", "[Late]", "old"},
       "late",
       "new",
       {"[iniend]", "[Late]", "new", ""}},
      {"only the first of two headers of the same service is edited",
       {"[A]", "one", "[A]", "two", "[iniend]"},
       "A",
       "three",
       {"[A]", "three", "", "[A]", "two", "[iniend]"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Lines items = c.before;
    PutSection(items, c.name, c.text);
    EXPECT_EQ(FileTextOf(items), file(c.after));
  }
}

TEST(EditorText, IsTheSectionBodyWithoutItsLeadingEmptyLines) {
  struct Case {
    const char* what;
    Lines lines;
    std::string name;
    std::string text;
  };
  const Case cases[] = {
      {"header in other case, empty lines inside kept",
       {"[x]", "", "", "A", "", "B", "[Y]", "y"},
       "X",
       "A\n\nB"},
      {"a header followed by a header", {"[X]", "[Y]", "y"}, "X", ""},
      {"no section", {"[Y]", "y", "[iniend]"}, "X", ""},
      {"empty lines before the next header stay, but no final line break",
       {"[X]", "a", "", "[iniend]"},
       "X",
       "a\n"},
      {"the last section of a file without [iniend] runs to the end",
       {"[X]", "a", "b"},
       "X",
       "a\nb"},
      {"a line in the Western code page is read as such", {"[X]", "caf\xe9"}, "X", "caf\xc3\xa9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(EditorTextOf(c.lines, c.name), c.text);
  }
}

TEST(EditorText, OpeningAndSavingUnchangedKeepsTheFile) {
  const Lines lines = {"[A]", "", "first", "", "second", "", "[B]", "b", "", "[iniend]"};
  Lines items = lines;
  PutSection(items, "A", WithCrLf(EditorTextOf(lines, "A")));
  EXPECT_EQ(FileTextOf(items),
            file({"[A]", "first", "", "second", "", "[B]", "b", "", "[iniend]"}));
}

TEST(SectionProblem, RefusesLinesThatWouldStartAnotherSection) {
  struct Case {
    std::string name;
    std::string text;
    bool refused;
  };
  const Case cases[] = {
      {"A", "plain\ntext", false},
      {"A", "a [bracketed] word\n[\n]", false},
      {"A", "", false},
      {"A", "[Other Service]", true},
      {"A", "text\n[iniend]\nmore", true},
      {"A", "text\r\n[]", true},
      {"Two\nLines", "text", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(SectionProblem(c.name, c.text).has_value(), c.refused);
  }
  EXPECT_EQ(*SectionProblem("A", "x\n[B]"),
            "The line \"[B]\" would begin another section of the extra-descriptions file.\nA "
            "line of the description cannot begin with '[' and end with ']'.");
}

TEST(WithCrLf, EveryLineBreakBecomesCrLf) {
  EXPECT_EQ(WithCrLf("a\nb\r\nc\rd\n\n"), "a\r\nb\r\nc\r\nd\r\n\r\n");
  EXPECT_EQ(WithCrLf(""), "");
}

}  // namespace
}  // namespace corvane
