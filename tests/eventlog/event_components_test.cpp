#include <gtest/gtest.h>

#include <string>

#include "event_log_fixture.h"

namespace corvane::testing {
namespace {

class EventComponentsTest : public EventLogTest {
 protected:
  EventComponentsTest() {
    writeLog("Application", 1, {RecordSpec{}, RecordSpec{}});
    writeLog("Security", 7, {RecordSpec{}});
    writeLog("System", 100, {RecordSpec{}, RecordSpec{}, RecordSpec{}});
  }
  std::uint32_t count(EventLogId log) { return (*components)[log].Count(); }
};

TEST_F(EventComponentsTest, ComponentsStartClosedAndReactivationOpensTheThreeLogs) {
  ReloadableEventLogs folderLogs(logsFolder());
  EventLogComponents fresh(folderLogs, messages);
  EXPECT_FALSE(fresh[EventLogId::Application].Active());
  EXPECT_EQ(fresh[EventLogId::System].Count(), 0u);
  EXPECT_EQ(fresh[EventLogId::Security].SourceName(), "Security");
  EXPECT_THROW(fresh[EventLogId::System].Objects(0), EventLogError);

  EXPECT_TRUE(reactivate());
  EXPECT_TRUE(state.EventLogsOpen);
  EXPECT_EQ(count(EventLogId::Application), 2u);
  EXPECT_EQ(count(EventLogId::Security), 1u);
  EXPECT_EQ(count(EventLogId::System), 3u);
  EXPECT_EQ((*components)[EventLogId::System].Objects(2).recordNumber, 102u);
  EXPECT_THROW((*components)[EventLogId::System].Objects(3), EventLogError);
  EXPECT_EQ(components->byEvSrc("Security"), &components->all[1]);
  EXPECT_EQ(components->byEvSrc("Other"), nullptr);
}

TEST_F(EventComponentsTest, AFailedReactivationClearsEventLogsOpenForGood) {
  std::filesystem::remove(logsFolder() / "Security.ini");
  EXPECT_FALSE(reactivate());
  EXPECT_FALSE(state.EventLogsOpen);
  EXPECT_TRUE((*components)[EventLogId::Application].Active());
  EXPECT_FALSE((*components)[EventLogId::System].Active());
  EXPECT_EQ(count(EventLogId::System), 0u);

  writeLog("Security", 7, {});
  EXPECT_TRUE(reactivate());
  EXPECT_FALSE(state.EventLogsOpen);
  EXPECT_EQ(count(EventLogId::System), 3u);
}

TEST_F(EventComponentsTest, AClearEmptiesTheLogOnTheComputer) {
  ASSERT_TRUE(reactivate());
  EXPECT_EQ(ClearEventLogs(*components, EventFilter::System), std::nullopt);
  EXPECT_EQ(count(EventLogId::System), 0u);
  EXPECT_EQ(count(EventLogId::Application), 2u);
  // Read afresh from the folder, as the next run of the program does.
  ASSERT_TRUE(reactivate());
  EXPECT_EQ(count(EventLogId::System), 0u);
  EXPECT_EQ(count(EventLogId::Security), 1u);
}

TEST_F(EventComponentsTest, ClearingAllStopsAtTheFirstFailureWithTheSystemsText) {
  ASSERT_TRUE(reactivate());
  // The log file cannot be replaced once a folder stands in its place.
  std::filesystem::remove(logsFolder() / "Security.ini");
  std::filesystem::create_directories(logsFolder() / "Security.ini" / "in the way");
  const std::optional<std::string> failure = ClearEventLogs(*components, EventFilter::All);
  ASSERT_TRUE(failure.has_value());
  std::string expected = messages.messageText(29);
  expected.erase(expected.find_last_not_of("\r\n") + 1);
  EXPECT_EQ(*failure, expected);
  EXPECT_EQ(count(EventLogId::Application), 0u);
  EXPECT_EQ(count(EventLogId::Security), 1u);
  EXPECT_EQ(count(EventLogId::System), 3u);
}

TEST(ClearQuestions, EachCommandAsksWithItsOwnTitleAndText) {
  EXPECT_STREQ(clearQuestion(EventFilter::Application).title, "Clear EventLog: Application");
  EXPECT_STREQ(clearQuestion(EventFilter::Application).text,
               "Are you sure you want to clear 'Application' section\nof the EventLog? This "
               "operation cannot be undone.   ");
  EXPECT_STREQ(clearQuestion(EventFilter::Security).title, "Clear EventLog: Security");
  EXPECT_STREQ(clearQuestion(EventFilter::System).text,
               "Are you sure you want to clear 'System' section\nof the EventLog? This operation "
               "cannot be undone.   ");
  EXPECT_STREQ(clearQuestion(EventFilter::All).title, "Clear EventLog: ALL");
  EXPECT_STREQ(clearQuestion(EventFilter::All).text,
               "Are you sure you want to clear all sections\nof the EventLog? This operation "
               "cannot be undone.   ");
}

}  // namespace
}  // namespace corvane::testing
