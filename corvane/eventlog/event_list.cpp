#include "corvane/eventlog/event_list.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <numeric>

#include "corvane/catalogue/service_list.h"

namespace corvane {

namespace {

template <typename T>
int compareValues(T a, T b) {
  return a < b ? -1 : b < a ? 1 : 0;
}

}  // namespace

EventList::EventList(int& sortColumn, std::array<bool, EventColumnCount>& sortFlags)
    : sortColumn_(sortColumn), sortFlags_(sortFlags) {}

void EventList::append(std::vector<EventRow>&& rows) {
  if (rows_.empty()) {
    rows_ = std::move(rows);
    return;
  }
  rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()),
               std::make_move_iterator(rows.end()));
}

void EventList::prepend(std::vector<EventRow>&& rows) {
  rows_.insert(rows_.begin(), std::make_move_iterator(rows.begin()),
               std::make_move_iterator(rows.end()));
}

int EventList::compare(const EventRow& a, const EventRow& b) const {
  const int column = sortColumn_;
  if (column < 0 || column >= EventColumnCount) {
    return 0;
  }
  const bool flag = sortFlags_[static_cast<std::size_t>(column)];
  int order = 0;
  switch (column) {
    case EventDateTimeColumn:
      order = compareValues(b.timeGenerated, a.timeGenerated);  // newest first
      break;
    case EventIndexColumn:
      order = compareValues(b.index, a.index);  // largest first
      break;
    case EventNumberColumn:
      order = compareValues(b.recordNumber, a.recordNumber);
      break;
    case EventIdColumn:
      order = compareValues(b.id, a.id);
      break;
    default:
      order = compareServText(a.texts[static_cast<std::size_t>(column)],
                              b.texts[static_cast<std::size_t>(column)]);
      break;
  }
  return flag ? order : -order;
}

std::vector<std::size_t> EventList::columnClick(int column) {
  if (column < 0 || column >= EventColumnCount) {
    std::vector<std::size_t> unmoved(rows_.size());
    std::iota(unmoved.begin(), unmoved.end(), std::size_t{0});
    return unmoved;
  }
  if (column == sortColumn_) {
    sortFlags_[static_cast<std::size_t>(column)] = !sortFlags_[static_cast<std::size_t>(column)];
  } else {
    sortColumn_ = column;
  }
  return sort();
}

std::vector<std::size_t> EventList::sort() {
  std::vector<std::size_t> order(rows_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
    return compare(rows_[a], rows_[b]) < 0;
  });
  std::vector<EventRow> sorted;
  sorted.reserve(rows_.size());
  std::vector<std::size_t> newPosition(rows_.size());
  for (std::size_t position = 0; position < order.size(); ++position) {
    sorted.push_back(std::move(rows_[order[position]]));
    newPosition[order[position]] = position;
  }
  rows_ = std::move(sorted);
  return newPosition;
}

EventRowsRead readEventRows(EventLogComponents& components, EventFilter filter, bool fullRefresh,
                            EventLogState& state, platform::Clock& clock,
                            const EventFillHooks& hooks) {
  EventRowsRead read;
  std::array<std::uint32_t, 3> counts{};
  for (const EventLogId log : AllEventLogs) {
    if (filterSelects(filter, log)) {
      counts[static_cast<std::size_t>(log)] = components[log].Count();
      read.reserve += counts[static_cast<std::size_t>(log)];
    }
  }
  if (fullRefresh) {
    state.HighestListedRecord = {};
    read.rows.reserve(read.reserve);
  }
  for (const EventLogId log : AllEventLogs) {
    if (!filterSelects(filter, log)) {
      continue;
    }
    NtEventLog& component = components[log];
    std::uint32_t& highest = state.HighestListedRecord[static_cast<std::size_t>(log)];
    const std::uint32_t listedBefore = highest;
    const std::uint32_t count = counts[static_cast<std::size_t>(log)];
    for (std::uint32_t i = 0; i < count; ++i) {
      if (hooks.closing && hooks.closing()) {
        read.stoppedByClosing = true;
        break;
      }
      if (hooks.progress) {
        // A log of one record is done with it.
        hooks.progress(count > 1 ? 100.0 * i / (count - 1) : 100.0);
      }
      EventItem item;
      try {
        item = component.Objects(i);
      } catch (const std::exception&) {
        continue;  // gone since the count was read
      }
      if (!fullRefresh && item.recordNumber <= listedBefore) {
        continue;
      }
      highest = std::max(highest, item.recordNumber);
      read.rows.push_back(makeEventRow(item, eventLogName(log), clock));
    }
    if (read.stoppedByClosing) {
      break;
    }
  }
  if (!fullRefresh) {
    // Each new record went on top of the list, so the last one read stands first.
    std::reverse(read.rows.begin(), read.rows.end());
  }
  return read;
}

EventRowsRead fillEventList(EventList& list, EventLogComponents& components, EventFilter filter,
                            bool fullRefresh, EventLogState& state, platform::Clock& clock,
                            const EventFillHooks& hooks) {
  state.EventListNeverFilled = false;
  EventRowsRead read = readEventRows(components, filter, fullRefresh, state, clock, hooks);
  if (fullRefresh) {
    list.clear();
    list.append(std::move(read.rows));
    if (!read.stoppedByClosing) {
      list.sort();
    }
  } else {
    list.prepend(std::move(read.rows));
  }
  read.rows.clear();
  return read;
}

}  // namespace corvane
