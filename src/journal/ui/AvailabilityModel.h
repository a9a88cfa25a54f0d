#pragma once

#include <QAbstractTableModel>

#include <vector>

#include "journal/AvailabilityRows.h"

namespace quenderlink {

// The availability list: a row a site, sorted by any column.
class AvailabilityModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

  // New rows keep the last sort.
  void SetRows(std::vector<AvailabilityRow> rows);
  const std::vector<AvailabilityRow>& rows() const { return rows_; }

 private:
  std::vector<AvailabilityRow> rows_;
  int sortColumn_ = -1;
  Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace quenderlink
