#pragma once

#include <QAbstractTableModel>

#include <cstdint>

#include "core/ProgramState.h"
#include "survey/PingSitesRun.h"

namespace quenderlink {

// The ping sites list over a PingSitesRun: one row per listed site, its cells
// from the copy of the site the run last wrote, its Results cell from the run.
// The run changes outside the model, so its owner says which rows changed.
class PingSitesModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The Results cell's bar, in per cent; none while the site does not wait.
  static constexpr int kProgressRole = Qt::UserRole + 1;

  PingSitesModel(const PingSitesRun& run, const ProgramState& state, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // The run's list was filled anew.
  void Refill();
  // Every cell of the first row listing the site, written anew.
  void SiteChanged(std::uint16_t rowNumber);
  // The Results cells of every row, after progress or outcomes moved on together.
  void ResultsChanged();
  // No rows, until the next Refill.
  void Clear();

 private:
  const PingSitesRun& run_;
  const ProgramState& state_;
  int rows_ = 0;
};

}  // namespace quenderlink
