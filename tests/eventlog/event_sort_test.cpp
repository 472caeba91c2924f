#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corvane/eventlog/event_list.h"

namespace corvane {
namespace {

EventRow row(std::string type, std::int64_t time, std::string source, std::uint32_t index,
             std::uint32_t number, std::uint32_t id, std::string evSrc) {
  EventRow made;
  made.timeGenerated = time;
  made.index = index;
  made.recordNumber = number;
  made.id = id;
  made.texts = {type,
                std::to_string(time),
                source,
                "None (0)",
                std::to_string(index),
                std::to_string(number),
                std::to_string(id),
                "N/A",
                "LAB",
                evSrc};
  return made;
}

class EventSortTest : public ::testing::Test {
 protected:
  EventSortTest() : list(sortColumn, flags) {
    list.append({row("Warning", 300, "tcpip", 0, 7, 20, "System"),
                 row("Error", 100, "Dhcp", 1, 8, 100, "Application"),
                 row("Information", 200, "browser", 2, 30, 3, "Security"),
                 row("Error", 400, "Tcpip", 3, 9, 1000, "System")});
    list.sort();
  }
  // The column's texts, top to bottom.
  std::vector<std::string> column(int which) const {
    std::vector<std::string> texts;
    for (const EventRow& shown : list.rows()) {
      texts.push_back(shown.texts[static_cast<std::size_t>(which)]);
    }
    return texts;
  }

  int sortColumn = 1;
  std::array<bool, EventColumnCount> flags{true, true, true, true, true,
                                           true, true, true, true, true};
  EventList list;
};

using Texts = std::vector<std::string>;

TEST_F(EventSortTest, TheInitialOrderIsNewestFirstAndAClickOnDateTimeTurnsIt) {
  EXPECT_EQ(column(1), (Texts{"400", "300", "200", "100"}));
  list.columnClick(1);
  EXPECT_FALSE(list.sortFlag(1));
  EXPECT_EQ(column(1), (Texts{"100", "200", "300", "400"}));
}

TEST_F(EventSortTest, NumbersCompareAsIntegersLargestFirstAndASecondClickReverses) {
  list.columnClick(6);  // ID: 1000 > 100 > 20 > 3, not as texts
  EXPECT_EQ(column(6), (Texts{"1000", "100", "20", "3"}));
  list.columnClick(6);
  EXPECT_EQ(column(6), (Texts{"3", "20", "100", "1000"}));
  list.columnClick(5);  // Number keeps its own flag, set
  EXPECT_EQ(column(5), (Texts{"30", "9", "8", "7"}));
  list.columnClick(4);
  EXPECT_EQ(column(4), (Texts{"3", "2", "1", "0"}));
}

TEST_F(EventSortTest, TextsSortAscendingWithCaseDecidingOnlyBetweenAlikeTexts) {
  list.columnClick(2);
  EXPECT_EQ(column(2), (Texts{"browser", "Dhcp", "tcpip", "Tcpip"}));
  list.columnClick(2);
  EXPECT_EQ(column(2), (Texts{"Tcpip", "tcpip", "Dhcp", "browser"}));
  list.columnClick(0);
  EXPECT_EQ(column(0), (Texts{"Error", "Error", "Information", "Warning"}));
  list.columnClick(9);
  EXPECT_EQ(column(9), (Texts{"Application", "Security", "System", "System"}));
}

TEST_F(EventSortTest, AnotherColumnKeepsItsFlagAndTheOldColumnKeepsItsTurnedOne) {
  list.columnClick(1);  // Date Time: oldest first
  list.columnClick(5);
  list.columnClick(1);  // back to Date Time: not turned again
  EXPECT_FALSE(list.sortFlag(1));
  EXPECT_EQ(column(1), (Texts{"100", "200", "300", "400"}));
}

TEST_F(EventSortTest, ASortTellsWhereEveryRowWent) {
  const std::vector<std::size_t> moved = list.columnClick(1);
  // Before: 400 300 200 100; after: 100 200 300 400.
  EXPECT_EQ(moved, (std::vector<std::size_t>{3, 2, 1, 0}));
  const std::vector<std::size_t> unmoved = list.columnClick(EventColumnCount);
  EXPECT_EQ(unmoved, (std::vector<std::size_t>{0, 1, 2, 3}));
  EXPECT_EQ(list.sortColumn(), 1);
}

}  // namespace
}  // namespace corvane
