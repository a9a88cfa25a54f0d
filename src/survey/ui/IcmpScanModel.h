#pragma once

#include <QAbstractTableModel>

#include <cstddef>
#include <vector>

#include "survey/IcmpScanColumns.h"
#include "survey/IcmpScanRun.h"

namespace quenderlink {

// The ICMP scan list over a run's rows, with the tick boxes the save commands
// read; the ticks are the list's own, the run knows nothing of them.
class IcmpScanModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  IcmpScanModel(const IcmpScanRun& run, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // The run started over: its new rows, none ticked.
  void Reset();
  // Rows first..last changed their texts.
  void RowsChanged(std::size_t first, std::size_t last);
  std::vector<std::size_t> TickedRows() const;

 private:
  const IcmpScanRun& run_;
  std::vector<bool> ticked_;
};

}  // namespace quenderlink
