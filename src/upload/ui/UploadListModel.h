#pragma once

#include <QAbstractTableModel>

#include "upload/UploadListRun.h"

namespace quenderlink {

// The multi-site upload list as a table: one row per unit, its last status in
// the colours of the status's kind.
class UploadListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit UploadListModel(const UploadListRun& run, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The run's list was filled anew.
  void Refill();
  void RowsChanged(std::size_t first, std::size_t last);

 private:
  const UploadListRun& run_;
  int rows_ = 0;
};

}  // namespace quenderlink
