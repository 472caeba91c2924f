// The model of the snapshot window's list: the rows of a SnapshotList with their texts and icons.
// Every change to the rows goes through it, so that the view and its selection follow.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "corvane/snapshot/snapshot_entries.h"

namespace corvane {

class QtImageList;

inline constexpr const char* SnapshotCaptions[SnapshotFieldCount] = {"Display Name", "Name",
                                                                     "Startup Type", "Status"};

class QtSnapshotModel : public QAbstractTableModel {
 public:
  QtSnapshotModel(const QtImageList& images, QObject* parent = nullptr);

  const SnapshotList& list() const { return list_; }

  void clear();
  bool add(SnapshotEntry entry, const EntryCheckContext& context);
  void removeRows(std::vector<int> rows);
  void setStatus(const std::vector<int>& rows, const std::string& status,
                 const EntryCheckContext& context);
  void setStartupType(const std::vector<int>& rows, const std::string& startupType,
                      const EntryCheckContext& context);
  // Sorting keeps the selection on its rows.
  void sort();
  void columnClick(int position);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  void reorder(const std::vector<std::size_t>& newPosition);
  void rowsChanged(const std::vector<int>& rows);
  static std::vector<std::size_t> indexes(const std::vector<int>& rows);

  const QtImageList& images_;
  SnapshotList list_;
};

}  // namespace corvane
