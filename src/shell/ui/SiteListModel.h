#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <vector>

#include "core/ProgramState.h"
#include "shell/CheckedRows.h"
#include "shell/SiteRowColors.h"

namespace quenderlink {

// The main site list over the site table: list row i shows record i as it was
// when the row was last written, not as a running operation is changing it.
// Each row keeps a copy of its record; texts are made from it when a cell is
// drawn, so only the visible rows cost anything. The row colours are kept per
// row because the recolouring pass differs from a rewrite.
class SiteListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // True for the cells drawn as buttons ("P", "U", "T").
  static constexpr int kCellButtonRole = Qt::UserRole + 1;

  explicit SiteListModel(ProgramState& state, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // One row per record of the table, all unticked, each coloured by its product.
  void Refill();
  // Rows for the records past the list's end, unticked and written from their records.
  void AppendRows();
  // The row written from its record again; its box stays as it is.
  void RewriteRow(int row);
  // Every row written from its record again, after a reload that kept the order.
  void RewriteAllRows();
  // The recolouring pass after the runtime parameters change.
  void Recolour();
  // No rows.
  void Clear();

  CheckedRows& checks() { return checks_; }
  const CheckedRows& checks() const { return checks_; }
  // A click on a cell as the check box rules take it.
  void ApplyClick(int row, int column, Qt::KeyboardModifiers modifiers);
  void SetChecked(int row, bool checked);

  // The "Cnt" value of the row: its record's RowNumber, kNoRow when there is none.
  std::uint16_t RowNumberAt(int row) const;

 private:
  const SiteRecord* RecordAt(int row) const;
  // The row's copy and colours taken from its record.
  void WriteRow(std::size_t row);
  void EmitRowsChanged(int first, int last, int firstColumn, int lastColumn, const QList<int>& roles = {});

  ProgramState& state_;
  std::vector<SiteRecord> written_;
  std::vector<RowPaint> paints_;
  CheckedRows checks_;
};

}  // namespace quenderlink
