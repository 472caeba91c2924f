#include "corvane/eventlog/Qt_event_list_model.h"

#include "corvane/shell/QtImages.h"

namespace corvane {

namespace {

Qt::Alignment columnAlignment(int column) {
  return Qt::AlignVCenter |
         (EventColumns[static_cast<std::size_t>(column)].centred ? Qt::AlignHCenter
                                                                 : Qt::AlignLeft);
}

}  // namespace

QtEventListModel::QtEventListModel(const QtImageList& images, int& sortColumn,
                                   std::array<bool, EventColumnCount>& sortFlags, QObject* parent)
    : QAbstractTableModel(parent), images_(images), list_(sortColumn, sortFlags) {}

EventRowsRead QtEventListModel::fill(EventLogComponents& components, EventFilter filter,
                                     bool fullRefresh, EventLogState& state, platform::Clock& clock,
                                     const EventFillHooks& hooks) {
  state.EventListNeverFilled = false;
  EventRowsRead read = readEventRows(components, filter, fullRefresh, state, clock, hooks);
  if (fullRefresh) {
    beginResetModel();
    list_.clear();
    list_.append(std::move(read.rows));
    if (!read.stoppedByClosing) {
      list_.sort();
    }
    endResetModel();
  } else if (!read.rows.empty()) {
    beginInsertRows({}, 0, static_cast<int>(read.rows.size()) - 1);
    list_.prepend(std::move(read.rows));
    endInsertRows();
  }
  read.rows.clear();
  return read;
}

void QtEventListModel::columnClick(int column) {
  if (column < 0 || column >= EventColumnCount) {
    return;
  }
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList before = persistentIndexList();
  const std::vector<std::size_t> moved = list_.columnClick(column);
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& old : before) {
    after.push_back(
        index(static_cast<int>(moved[static_cast<std::size_t>(old.row())]), old.column()));
  }
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int QtEventListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(list_.rows().size());
}

int QtEventListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : EventColumnCount;
}

QVariant QtEventListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= EventColumnCount) {
    return {};
  }
  const EventRow& shown = row(index.row());
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(shown.texts[static_cast<std::size_t>(index.column())]);
    case Qt::DecorationRole:
      return index.column() == EventTypeColumn ? QVariant(images_.icon(shown.image)) : QVariant();
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(columnAlignment(index.column()));
    default:
      return {};
  }
}

QVariant QtEventListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= EventColumnCount) {
    return {};
  }
  if (role == Qt::DisplayRole) {
    return QString::fromLatin1(EventColumns[static_cast<std::size_t>(section)].caption);
  }
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(columnAlignment(section));
  }
  return {};
}

}  // namespace corvane
