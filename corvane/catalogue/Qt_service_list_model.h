// ServList's model: the rows of the service list, sorted in the model, with their texts, icons and
// alignment. A full fill resets the model; a quick fill reports only the rows that changed.
#pragma once

#include <QAbstractTableModel>
#include <functional>

#include "corvane/catalogue/service_list.h"

namespace corvane {

class QtImageList;

class QtServiceListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  QtServiceListModel(const QtImageList& images, int& sortColumn, QObject* parent = nullptr);

  const ServiceList& list() const { return list_; }
  const ServRow& row(int index) const { return list_.rows()[static_cast<std::size_t>(index)]; }
  // The row of a key name, -1 when none.
  int findRow(const std::string& serviceName) const;

  // The list half of FillViews on the model; the caller trims Images before.
  ServListDiff fill(const Catalogue& catalogue, ServFilter filter, bool fullRefresh,
                    const ServFillHooks& hooks);
  // ServListColumnClick.
  void columnClick(int column);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  // Sorts the rows, keeping every persistent index (the selection) on its service.
  void reorder(const std::function<void()>& sortRows);

  const QtImageList& images_;
  ServiceList list_;
};

}  // namespace corvane
