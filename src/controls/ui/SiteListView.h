#pragma once

#include <QTableView>

#include <span>

namespace quenderlink {

class CellButtonDelegate;

// A report-style list: grid lines, whole rows selected one at a time, movable
// columns, fixed row height (so very long lists stay fast), and notices for the
// clicks its owner acts on. Check boxes and cell buttons are roles of the model.
class SiteListView : public QTableView {
  Q_OBJECT

 public:
  explicit SiteListView(QWidget* parent = nullptr);

  // Cells whose role holds true are drawn as buttons; their clicks come as cellButtonClicked.
  void SetCellButtonRole(int role);
  // The column the Space key "clicks" on the current row; -1 (the start) for none.
  void SetCheckColumn(int column);
  // Width 0 hides a column; any other width shows it, scaled from the widths'
  // font to the one in use, and never narrower than its title.
  void ApplyColumnWidths(std::span<const int> widths);
  // The selected row, -1 when none.
  int SelectedRow() const;
  // The header's arrow on the sorted column, pointing the way its values go.
  void ShowSortIndicator(int column, bool valuesRise);
  void HideSortIndicator();

 signals:
  void headerClicked(int column);
  // The row is selected and current by then; -1 when the click is below the rows.
  void rowRightClicked(int row);
  void rowDoubleClicked(int row);
  // A left press on a cell, reported before the selection moves.
  void cellClicked(int row, int column, Qt::KeyboardModifiers modifiers);
  void cellButtonClicked(int row, int column);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event = nullptr) const override;

 private:
  // The widths lists are described in are for a font whose characters average this many pixels.
  static constexpr int kDescribedCharWidth = 4;

  int TitleWidth(int column) const;
  CellButtonDelegate* buttons_ = nullptr;
  int checkColumn_ = -1;
};

}  // namespace quenderlink
