#include "corvane/snapshot/Qt_snapshot_model.h"

#include <algorithm>

#include "corvane/shell/QtImages.h"

namespace corvane {

QtSnapshotModel::QtSnapshotModel(const QtImageList& images, QObject* parent)
    : QAbstractTableModel(parent), images_(images) {}

void QtSnapshotModel::clear() {
  beginResetModel();
  list_.clear();
  endResetModel();
}

bool QtSnapshotModel::add(SnapshotEntry entry, const EntryCheckContext& context) {
  SnapshotRow row{std::move(entry)};
  if (!CheckEntry(row, context))
    return false;
  const int at = rowCount();
  beginInsertRows({}, at, at);
  list_.append(std::move(row));
  endInsertRows();
  return true;
}

void QtSnapshotModel::removeRows(std::vector<int> rows) {
  std::sort(rows.begin(), rows.end(), std::greater<int>());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  for (const int row : rows) {
    if (row < 0 || row >= rowCount())
      continue;
    beginRemoveRows({}, row, row);
    list_.remove(static_cast<std::size_t>(row));
    endRemoveRows();
  }
}

std::vector<std::size_t> QtSnapshotModel::indexes(const std::vector<int>& rows) {
  std::vector<std::size_t> result;
  for (const int row : rows) {
    if (row >= 0)
      result.push_back(static_cast<std::size_t>(row));
  }
  return result;
}

void QtSnapshotModel::setStatus(const std::vector<int>& rows, const std::string& status,
                                const EntryCheckContext& context) {
  list_.setStatus(indexes(rows), status, context);
  rowsChanged(rows);
}

void QtSnapshotModel::setStartupType(const std::vector<int>& rows, const std::string& startupType,
                                     const EntryCheckContext& context) {
  list_.setStartupType(indexes(rows), startupType, context);
  rowsChanged(rows);
}

void QtSnapshotModel::rowsChanged(const std::vector<int>& rows) {
  for (const int row : rows) {
    if (row >= 0 && row < rowCount())
      emit dataChanged(index(row, 0), index(row, SnapshotFieldCount - 1));
  }
}

void QtSnapshotModel::sort() {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  reorder(list_.sort());
}

void QtSnapshotModel::columnClick(int position) {
  if (position < 0 || position >= SnapshotFieldCount)
    return;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  reorder(list_.columnClick(position));
}

void QtSnapshotModel::reorder(const std::vector<std::size_t>& newPosition) {
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& old : before) {
    const auto row = static_cast<std::size_t>(old.row());
    after.push_back(row < newPosition.size()
                        ? index(static_cast<int>(newPosition[row]), old.column())
                        : QModelIndex());
  }
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int QtSnapshotModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(list_.size());
}

int QtSnapshotModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : SnapshotFieldCount;
}

QVariant QtSnapshotModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= SnapshotFieldCount)
    return {};
  const SnapshotRow& row = list_.rows()[static_cast<std::size_t>(index.row())];
  if (role == Qt::DisplayRole)
    return QString::fromStdString(FieldText(row.entry, index.column()));
  if (role == Qt::DecorationRole) {
    const int picture = index.column() == FieldDisplayName   ? row.rowImage
                        : index.column() == FieldStartupType ? row.startTypeImage
                        : index.column() == FieldStatus      ? row.statusImage
                                                             : -1;
    if (picture >= 0)
      return images_.icon(picture);
  }
  return {};
}

QVariant QtSnapshotModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
      section < SnapshotFieldCount) {
    return QString(SnapshotCaptions[section]);
  }
  return {};
}

}  // namespace corvane
