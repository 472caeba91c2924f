// The rows of the event list: the ten columns, what each row shows for a record, and the types'
// captions and images.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "corvane/eventlog/event_log_state.h"
#include "corvane/eventlog/nt_event_log.h"
#include "platform/clock.h"

namespace corvane {

struct EventColumn {
  const char* caption;
  int width;
  bool centred;
  int minWidth;  // 0: no limit
  int maxWidth;
};

inline constexpr int EventTypeColumn = 0;
inline constexpr int EventDateTimeColumn = 1;
inline constexpr int EventIndexColumn = 4;
inline constexpr int EventNumberColumn = 5;
inline constexpr int EventIdColumn = 6;
inline constexpr int EventEvSrcColumn = 9;

inline constexpr std::array<EventColumn, EventColumnCount> EventColumns{{
    {"Type", 110, false, 0, 0},
    {"Date Time", 140, true, 50, 600},
    {"Source", 150, false, 50, 600},
    {"Category", 140, false, 50, 600},
    {"Index", 60, true, 50, 100},
    {"Number", 60, true, 50, 100},
    {"ID", 60, true, 50, 600},
    {"User", 100, false, 50, 600},
    {"Computer", 100, false, 50, 600},
    {"EvSrc", 100, false, 50, 600},
}};

// A width brought within the column's limits.
int clampEventColumnWidth(int column, int width);

// The component's TEventType: any other platform type reads as EVT_SUCCESS.
enum class TEventType : std::uint16_t {
  EVT_SUCCESS = 0,
  EVT_ERROR = 1,
  EVT_WARNING = 2,
  EVT_INFORMATION = 4,
  EVT_AUDIT_SUCCESS = 8,
  EVT_AUDIT_FAILURE = 16,
};
TEventType eventTypeOf(std::uint16_t platformType);
const char* eventTypeCaption(TEventType type);
int eventTypeImage(TEventType type);

struct EventRow {
  // The ten texts in column order.
  std::array<std::string, EventColumnCount> texts;
  int image = 0;
  // What the Date Time, Index, Number and ID columns sort by.
  std::int64_t timeGenerated = 0;
  std::uint32_t index = 0;
  std::uint32_t recordNumber = 0;
  std::uint32_t id = 0;

  const std::string& evSrc() const { return texts[EventEvSrcColumn]; }
};

// The row of a record read from the log named `evSrc`; the time as local time of `clock`.
EventRow makeEventRow(const EventItem& item, const char* evSrc, platform::Clock& clock);

}  // namespace corvane
