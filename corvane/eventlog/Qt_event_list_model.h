// EventLog's model: the rows of the event list, sorted in the model, with their texts, type
// images and alignment. A full fill resets the model once; a quick fill inserts the new rows on
// top.
#pragma once

#include <QAbstractTableModel>

#include "corvane/eventlog/event_list.h"

namespace corvane {

class QtImageList;

class QtEventListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  QtEventListModel(const QtImageList& images, int& sortColumn,
                   std::array<bool, EventColumnCount>& sortFlags, QObject* parent = nullptr);

  const EventList& list() const { return list_; }
  const EventRow& row(int index) const { return list_.rows()[static_cast<std::size_t>(index)]; }

  // The reading and the list half of FillEventList (clearing EventListNeverFilled first). The
  // logs are read before the model changes, so the view never sees a half-filled list while the
  // progress lets messages run.
  EventRowsRead fill(EventLogComponents& components, EventFilter filter, bool fullRefresh,
                     EventLogState& state, platform::Clock& clock, const EventFillHooks& hooks);
  // EventLogColumnClick; the selection stays on its row.
  void columnClick(int column);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const QtImageList& images_;
  EventList list_;
};

}  // namespace corvane
