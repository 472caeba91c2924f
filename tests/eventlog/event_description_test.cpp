#include "corvane/eventlog/event_description.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corvane/eventlog/event_list.h"
#include "event_log_fixture.h"

namespace corvane::testing {
namespace {

using Lines = std::vector<std::string>;

// The system's text for a number as the pane shows it: without its last character.
std::string shownText(std::uint32_t number) {
  platform::sim::MessageTable table;
  std::string text = table.messageText(number);
  text.pop_back();
  return text;
}

TEST(EventExplanations, EveryPercentWithDigitsIsExplainedInOrder) {
  platform::sim::MessageTable messages;
  struct Case {
    const char* text;
    Lines lines;
  };
  const Case cases[] = {
      {"The service failed: %1058\r\n", {"\"%1058\" = " + shownText(1058)}},
      {"five digits %12345 explain four", {"\"%1234\" = " + shownText(1234)}},
      {"%2 then %5", {"\"%2\" = " + shownText(2), "\"%5\" = " + shownText(5)}},
      {"at the very end %", {}},
      {"before a letter %n and %%", {}},
      {"a number the system lacks %9999", {}},
      {"%0123", {"\"%0123\" = " + shownText(123)}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.text);
    EXPECT_EQ(eventExplanationLines(test.text, messages), test.lines);
  }
  // The text keeps the carriage return of the system's line break.
  EXPECT_EQ(shownText(1058).back(), '\r');
}

TEST(EventDescriptionLines, LinesThenAnEmptyLineThenTheExplanations) {
  platform::sim::MessageTable messages;
  EXPECT_EQ(eventDescriptionLines(
                "The Alerter service failed.\r\n\r\nThe service failed: %1058\r\n", messages),
            (Lines{"Event description:", "", "The Alerter service failed.",
                   "The service failed: %1058", "", "\"%1058\" = " + shownText(1058)}));
  // The last line counts without a line break after it; a lone line feed breaks too.
  EXPECT_EQ(eventDescriptionLines("first\nsecond\rthird", messages),
            (Lines{"Event description:", "", "first", "second", "third", ""}));
}

TEST(EventDescriptionLines, ATextWithoutLineBreaksIsOneBlockWithoutExplanations) {
  platform::sim::MessageTable messages;
  EXPECT_EQ(eventDescriptionLines("Lease lost: %1058", messages),
            (Lines{"Event description:", "", "Lease lost: %1058"}));
  EXPECT_EQ(eventDescriptionLines("", messages), (Lines{"Event description:", "", ""}));
}

class DescribeRowTest : public EventLogTest {
 protected:
  DescribeRowTest() : list(sortColumn, state.EventSortFlag) {
    writeMessages(
        "[Service Control Manager]\r\n"
        "7000=The %1 service failed to start due to the following error: %n%2\r\n");
    RecordSpec failed;
    failed.eventId = 3221232472u;  // 0xC0001B58: 7000
    failed.type = 1;
    failed.strings = {"Alerter", "%%1058"};
    RecordSpec unknown;
    unknown.source = "Tcpip";
    unknown.eventId = 4199;
    unknown.strings = {"10.0.0.7"};
    writeLog("System", 40, {failed, unknown});
    writeLog("Application", 1, {});
    writeLog("Security", 1, {});
    EXPECT_TRUE(reactivate());
    EventFillHooks none;
    fillEventList(list, *components, EventFilter::System, true, state, clock, none);
  }
  const EventRow& rowNumbered(std::uint32_t number) const {
    for (const EventRow& row : list.rows()) {
      if (row.recordNumber == number)
        return row;
    }
    throw std::logic_error("no such row");
  }

  EventList list;
};

TEST_F(DescribeRowTest, TheRowsRecordGivesTheGroupAndTheLines) {
  const EventDetails details = describeEventRow(*components, rowNumbered(40), messages);
  EXPECT_EQ(details.group, "Service Control Manager");
  EXPECT_EQ(details.lines,
            (Lines{"Event description:", "",
                   "The Alerter service failed to start due to the following error: ", "%%1058", "",
                   "\"%1058\" = " + shownText(1058)}));
}

TEST_F(DescribeRowTest, ASourceWithoutAMessageNamesTheIdentifier) {
  const EventDetails details = describeEventRow(*components, rowNumbered(41), messages);
  EXPECT_EQ(details.lines,
            (Lines{"Event description:", "",
                   "The description for Event ID ( 4199 ) in Source ( Tcpip ) cannot be found.",
                   "10.0.0.7", ""}));
}

TEST_F(DescribeRowTest, ARecordGoneSinceTheFillRaisesInsteadOfShowingAnother) {
  const EventRow second = rowNumbered(41);
  // Cleared, then a new record at the same index: it is not the row's record.
  components->all[2].Clear();
  writeLog("System", 42, {RecordSpec{}, RecordSpec{}});
  ASSERT_TRUE(reactivate());
  EXPECT_THROW(describeEventRow(*components, second, messages), EventLogError);
  writeLog("System", 42, {});
  ASSERT_TRUE(reactivate());
  EXPECT_THROW(describeEventRow(*components, second, messages), EventLogError);
  EventRow foreign = second;
  foreign.texts[EventEvSrcColumn] = "system";  // compared exactly
  EXPECT_THROW(describeEventRow(*components, foreign, messages), EventLogError);
}

}  // namespace
}  // namespace corvane::testing
