#pragma once

#include <QAbstractTableModel>

#include <cstddef>

#include "core/ProgramState.h"
#include "exchange/SiteImport.h"

namespace quenderlink {

// The import list over a SiteImport: a row per imported line. Site name, host,
// address and port cells can be edited, except while any ping of the program
// runs; a changed cell is drawn in red. The import changes outside the model
// during a ping, so its owner says which rows changed.
class ImportListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The Status cell's bar, in per cent; none while the row does not wait.
  static constexpr int kProgressRole = Qt::UserRole + 1;

  ImportListModel(SiteImport& import, const OperationState& operations, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

  // The import's rows were made anew or cleared.
  void Refill();
  void RowChanged(std::size_t row);
  // Every row's cells, after progress or outcomes moved on together.
  void AllRowsChanged();

 private:
  SiteImport& import_;
  const OperationState& operations_;
  int rows_ = 0;
};

}  // namespace quenderlink
