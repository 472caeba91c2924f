// The program-wide state of the event-log page.
#pragma once

#include <array>
#include <cstdint>

namespace corvane {

inline constexpr int EventColumnCount = 10;

struct EventLogState {
  // Highest record number listed from the Application, Security and System logs.
  std::array<std::uint32_t, 3> HighestListedRecord{};
  // EventSortColumn lives in ProgramState; these are the directions of the ten columns.
  std::array<bool, EventColumnCount> EventSortFlag{true, true, true, true, true,
                                                   true, true, true, true, true};
  // Cleared when a reactivation fails; never set again.
  bool EventLogsOpen = true;
  // Cleared when a fill of the event list begins.
  bool EventListNeverFilled = true;
  // Screen position of each column, by the column table's order.
  std::array<int, EventColumnCount> EventColumnPosition{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
};

}  // namespace corvane
