#include "corvane/shell/date_time_format.h"

#include <gtest/gtest.h>

#include "corvane/shell/text_lines.h"

namespace corvane {
namespace {

TEST(DateTimeFormatTest, FixedFormatsWhateverTheRegion) {
  const platform::LocalTime time{2005, 3, 7, 9, 5, 3, 70};
  struct Case {
    const char* pattern;
    const char* text;
  };
  for (const Case& c : {Case{ShortDateFormat, "07.03.2005"}, Case{LongDateFormat, "07.Mar.2005"},
                        Case{LongTimeFormat, "09:05:03"}, Case{"d.mmm.yyyy", "7.Mar.2005"},
                        Case{"hh:nn", "09:05"}, Case{"yy-m-d h:m:s", "05-3-7 9:5:3"}}) {
    EXPECT_EQ(FormatDateTime(c.pattern, time), c.text) << c.pattern;
  }
  EXPECT_EQ(DateTimeText(time), "07.03.2005 09:05:03");
  EXPECT_EQ(FormatDateTime("mmm", {2006, 12, 31, 23, 59, 59, 0}), "Dec");
}

TEST(TextLinesTest, LinesEndAtAnyLineBreakAndAreFoundWithoutRegardToCase) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  };
  for (const Case& c : {Case{"a\r\nb\nc\rd", {"a", "b", "c", "d"}}, Case{"a\n", {"a"}},
                        Case{"\n\n", {"", ""}}, Case{"", {}}, Case{"a\r\n\r\nb", {"a", "", "b"}}}) {
    EXPECT_EQ(splitLines(c.text), c.lines) << c.text;
  }
  const TextLines lines{{"[Alerter]", "text", "[alerter]"}};
  EXPECT_EQ(lines.indexOf("[ALERTER]"), 0);
  EXPECT_EQ(lines.indexOf("[Browser]"), -1);
}

}  // namespace
}  // namespace corvane
