#pragma once

#include <QAbstractTableModel>

#include <array>

#include "survey/RangeScanColumns.h"
#include "survey/RangeScanRun.h"

namespace quenderlink {

// The range scan list over a run's rows: texts, the tick boxes the save
// commands read, and the Status bar of every address still waiting.
class RangeScanModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The Status cell's bar in per cent; none once the address has an outcome.
  static constexpr int kProgressRole = Qt::UserRole + 1;

  explicit RangeScanModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Shows the run's rows; none for no run. The run must outlive its showing.
  void SetRun(RangeScanRun* run);
  void RowChanged(std::size_t row);
  void AllRowsChanged();
  // The bars moved.
  void ProgressChanged();

 private:
  const RangeRow* RowAt(const QModelIndex& index) const;
  QVariant Progress(std::size_t row) const;

  RangeScanRun* run_ = nullptr;
};

}  // namespace quenderlink
