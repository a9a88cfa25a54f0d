#pragma once

#include <QAbstractTableModel>

#include <vector>

#include "journal/HistoryRows.h"

namespace quenderlink {

// The history list: a row a result, newest first.
class HistoryModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  void SetEntries(const std::vector<HistoryEntry>& entries);

 private:
  std::vector<HistoryRow> rows_;
  // Failed results are drawn in red, as on the chart.
  std::vector<bool> failed_;
};

}  // namespace quenderlink
