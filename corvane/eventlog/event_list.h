// The event list: its rows, their order by EventSortColumn and EventSortFlag, and the full and
// quick fills from the three logs.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <vector>

#include "corvane/eventlog/event_log_components.h"
#include "corvane/eventlog/event_rows.h"

namespace corvane {

class EventList {
 public:
  // `sortColumn` is the program-wide EventSortColumn, `sortFlags` EventSortFlag.
  EventList(int& sortColumn, std::array<bool, EventColumnCount>& sortFlags);

  const std::vector<EventRow>& rows() const { return rows_; }
  int sortColumn() const { return sortColumn_; }
  bool sortFlag(int column) const { return sortFlags_[static_cast<std::size_t>(column)]; }

  void clear() { rows_.clear(); }
  void reserve(std::size_t rows) { rows_.reserve(rows); }
  void append(std::vector<EventRow>&& rows);
  // Puts the rows above the present ones, the first on top.
  void prepend(std::vector<EventRow>&& rows);

  // EventLogCompare: negative when `a` goes before `b` by the sort column and its flag.
  int compare(const EventRow& a, const EventRow& b) const;
  // EventLogColumnClick: the sort column turns its flag, another column becomes the sort column
  // with the flag it had; then sorts. Out-of-range columns are ignored (nothing moves). Returns
  // the new position of each row by its old one.
  std::vector<std::size_t> columnClick(int column);
  // Sorts by the sort column; returns the new position of each row by its old one.
  std::vector<std::size_t> sort();

 private:
  int& sortColumn_;
  std::array<bool, EventColumnCount>& sortFlags_;
  std::vector<EventRow> rows_;
};

struct EventFillHooks {
  // Asked before each record; true stops the fill at once.
  std::function<bool()> closing;
  // DrawStatusProgress before each record.
  std::function<void(double)> progress;
};

struct EventRowsRead {
  // Full fill: every record of the selected logs, log by log, oldest first. Quick fill: the
  // records newer than what was listed, top to bottom as they are to stand above the old rows.
  std::vector<EventRow> rows;
  // The record counts of the selected logs together: the room a fill reserves.
  std::size_t reserve = 0;
  bool stoppedByClosing = false;
};

// The reading half of FillEventList. A full fill resets HighestListedRecord first; both raise it
// to the highest record number read. A record that cannot be read is passed over.
EventRowsRead readEventRows(EventLogComponents& components, EventFilter filter, bool fullRefresh,
                            EventLogState& state, platform::Clock& clock,
                            const EventFillHooks& hooks);

// FillEventList on the list alone (where no view watches): a full fill replaces the rows and
// sorts them, a quick fill puts the new ones on top without sorting.
EventRowsRead fillEventList(EventList& list, EventLogComponents& components, EventFilter filter,
                            bool fullRefresh, EventLogState& state, platform::Clock& clock,
                            const EventFillHooks& hooks);

}  // namespace corvane
