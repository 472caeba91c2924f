#include "corvane/catalogue/Qt_service_list_model.h"

#include "corvane/shell/QtImages.h"

namespace corvane {

QtServiceListModel::QtServiceListModel(const QtImageList& images, int& sortColumn, QObject* parent)
    : QAbstractTableModel(parent), images_(images), list_(sortColumn) {}

int QtServiceListModel::findRow(const std::string& serviceName) const {
  return static_cast<int>(list_.findRow(serviceName));
}

ServListDiff QtServiceListModel::fill(const Catalogue& catalogue, ServFilter filter,
                                      bool fullRefresh, const ServFillHooks& hooks) {
  if (fullRefresh) {
    beginResetModel();
    list_.clear();
    ServListDiff diff = list_.diff(catalogue, filter, hooks);
    list_.applyUpdates(diff);
    const bool added = !diff.additions.empty();
    list_.appendRows(std::move(diff.additions));
    if (added) {
      list_.sort();
    }
    endResetModel();
    return diff;
  }

  ServListDiff diff = list_.diff(catalogue, filter, hooks);
  if (diff.errorRow) {
    beginResetModel();
    list_.applyUpdates(diff);
    endResetModel();
    return diff;
  }
  list_.applyUpdates(diff);
  for (const auto& update : diff.updates) {
    const int changed = static_cast<int>(update.first);
    emit dataChanged(index(changed, 0), index(changed, ServColumnCount - 1));
  }
  if (!diff.additions.empty()) {
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(diff.additions.size()) - 1);
    list_.appendRows(std::move(diff.additions));
    endInsertRows();
    reorder([this] { list_.sort(); });
  }
  return diff;
}

void QtServiceListModel::columnClick(int column) {
  if (column >= 0 && column < ServColumnCount) {
    reorder([&] { list_.columnClick(column); });
  }
}

void QtServiceListModel::reorder(const std::function<void()>& sortRows) {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList before = persistentIndexList();
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(before.size()));
  for (const QModelIndex& index : before) {
    names.push_back(row(index.row()).serviceName());
  }
  sortRows();
  QModelIndexList after;
  after.reserve(before.size());
  for (qsizetype i = 0; i < before.size(); ++i) {
    const int moved = findRow(names[static_cast<std::size_t>(i)]);
    after.push_back(moved < 0 ? QModelIndex() : index(moved, before[i].column()));
  }
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int QtServiceListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(list_.rows().size());
}

int QtServiceListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ServColumnCount;
}

QVariant QtServiceListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) {
    return {};
  }
  const ServRow& shown = row(index.row());
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
      if (column > 0 && !shown.hasCells) {
        return {};
      }
      return QString::fromStdString(shown.texts[static_cast<std::size_t>(column)]);
    case Qt::DecorationRole:
      if (!shown.hasCells) {
        return {};
      }
      if (column == 0) {
        return images_.icon(shown.rowImage);
      }
      if (column == ServStartTypeColumn) {
        return images_.icon(shown.startTypeImage);
      }
      if (column == ServStatusColumn) {
        return images_.icon(shown.statusImage);
      }
      return {};
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignVCenter |
                                 (ServColumns[static_cast<std::size_t>(column)].alignRight
                                      ? Qt::AlignRight
                                      : Qt::AlignLeft));
    default:
      return {};
  }
}

QVariant QtServiceListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= ServColumnCount) {
    return {};
  }
  const ServColumn& spec = ServColumns[static_cast<std::size_t>(section)];
  if (role == Qt::DisplayRole) {
    return QString::fromLatin1(spec.caption);
  }
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(Qt::AlignVCenter |
                               (spec.alignRight ? Qt::AlignRight : Qt::AlignLeft));
  }
  return {};
}

}  // namespace corvane
