#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corvane/eventlog/event_list.h"
#include "event_log_fixture.h"

namespace corvane::testing {
namespace {

RecordSpec at(const std::string& time, const std::string& source = "Service Control Manager") {
  RecordSpec record;
  record.time = time;
  record.source = source;
  return record;
}

class EventFillTest : public EventLogTest {
 protected:
  EventFillTest() : list(sortColumn, state.EventSortFlag) {
    writeLog("Application", 10,
             {at("2006-12-11 08:00:00", "MsiInstaller"), at("2006-12-11 09:00:00", "Userenv")});
    writeLog("Security", 500, {at("2006-12-11 08:30:00", "Security")});
    writeLog("System", 1000,
             {at("2006-12-11 07:00:00", "EventLog"), at("2006-12-11 10:00:00", "Tcpip"),
              at("2006-12-11 11:00:00", "Dhcp")});
    EXPECT_TRUE(reactivate());
  }

  EventRowsRead fill(EventFilter filter, bool full) {
    return fillEventList(list, *components, filter, full, state, clock, hooks);
  }
  // "EvSrc:Number" of every row, top to bottom.
  std::vector<std::string> shown() const {
    std::vector<std::string> rows;
    for (const EventRow& row : list.rows()) {
      rows.push_back(row.evSrc() + ":" + std::to_string(row.recordNumber));
    }
    return rows;
  }

  EventFillHooks hooks;
  EventList list;
};

using Rows = std::vector<std::string>;

TEST_F(EventFillTest, AFullFillOfAllListsTheThreeLogsNewestFirst) {
  const EventRowsRead read = fill(EventFilter::All, true);
  EXPECT_EQ(read.reserve, 6u);
  EXPECT_FALSE(state.EventListNeverFilled);
  EXPECT_EQ(shown(), (Rows{"System:1002", "System:1001", "Application:11", "Security:500",
                           "Application:10", "System:1000"}));
  EXPECT_EQ(state.HighestListedRecord, (std::array<std::uint32_t, 3>{11, 500, 1002}));
  // The index counts from the oldest record of its own log.
  EXPECT_EQ(list.rows()[0].index, 2u);
  EXPECT_EQ(list.rows()[3].index, 0u);
}

TEST_F(EventFillTest, AFilterListsOnlyItsLogAndResetsTheOthersHighestRecord) {
  fill(EventFilter::All, true);
  fill(EventFilter::Security, true);
  EXPECT_EQ(shown(), (Rows{"Security:500"}));
  EXPECT_EQ(state.HighestListedRecord, (std::array<std::uint32_t, 3>{0, 500, 0}));
}

TEST_F(EventFillTest, AQuickFillPutsTheNewRecordsOnTopNewestFirstWithoutSorting) {
  fill(EventFilter::Application, true);
  list.columnClick(1);  // oldest first: a quick fill does not sort again
  EXPECT_EQ(shown(), (Rows{"Application:10", "Application:11"}));

  writeLog("Application", 10,
           {at("2006-12-11 08:00:00", "MsiInstaller"), at("2006-12-11 09:00:00", "Userenv"),
            at("2006-12-11 12:00:00", "Winlogon"), at("2006-12-11 12:01:00", "LoadPerf")});
  ASSERT_TRUE(reactivate());
  const EventRowsRead read = fill(EventFilter::Application, false);
  EXPECT_EQ(read.reserve, 4u);
  EXPECT_EQ(shown(),
            (Rows{"Application:13", "Application:12", "Application:10", "Application:11"}));
  EXPECT_EQ(list.rows()[0].texts[2], "LoadPerf");
  EXPECT_EQ(list.rows()[0].evSrc(), "Application");
  EXPECT_EQ(state.HighestListedRecord[0], 13u);

  fill(EventFilter::Application, false);  // nothing new
  EXPECT_EQ(list.rows().size(), 4u);
}

TEST_F(EventFillTest, AQuickFillOfAllStacksEachLogsNewRecordsAboveTheEarlierLogs) {
  fill(EventFilter::All, true);
  writeLog("Application", 10,
           {at("2006-12-11 08:00:00"), at("2006-12-11 09:00:00"), at("2006-12-11 13:00:00")});
  writeLog("System", 1000,
           {at("2006-12-11 07:00:00"), at("2006-12-11 10:00:00"), at("2006-12-11 11:00:00"),
            at("2006-12-11 12:30:00")});
  ASSERT_TRUE(reactivate());
  fill(EventFilter::All, false);
  // Each record went to the top as it was read: System's after Application's.
  const Rows rows = shown();
  ASSERT_EQ(rows.size(), 8u);
  EXPECT_EQ(Rows(rows.begin(), rows.begin() + 3),
            (Rows{"System:1003", "Application:12", "System:1002"}));
}

TEST_F(EventFillTest, ClosingStopsTheFillBeforeTheNextRecord) {
  int asked = 0;
  hooks.closing = [&] { return ++asked > 2; };
  const EventRowsRead read = fill(EventFilter::All, true);
  EXPECT_TRUE(read.stoppedByClosing);
  EXPECT_EQ(shown(), (Rows{"Application:10", "Application:11"}));  // not sorted either
}

TEST_F(EventFillTest, ProgressRunsFromZeroToAHundredForEachLog) {
  std::vector<double> progress;
  hooks.progress = [&](double percent) { progress.push_back(percent); };
  fill(EventFilter::All, true);
  // Application 0, 100; Security's single record is done with it; System 0, 50, 100.
  EXPECT_EQ(progress, (std::vector<double>{0, 100, 100, 0, 50, 100}));
}

TEST_F(EventFillTest, LogsLeftClosedByAFailedReactivationListNothing) {
  std::filesystem::remove(logsFolder() / "Security.ini");
  EXPECT_FALSE(reactivate());
  EXPECT_FALSE(state.EventLogsOpen);
  fill(EventFilter::All, true);
  // Application opened before Security failed; System was never reached.
  EXPECT_EQ(shown(), (Rows{"Application:11", "Application:10"}));
}

}  // namespace
}  // namespace corvane::testing
