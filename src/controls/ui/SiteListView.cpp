#include "controls/ui/SiteListView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

#include <algorithm>

#include "controls/ui/CellButtonDelegate.h"

namespace quenderlink {

SiteListView::SiteListView(QWidget* parent) : QTableView(parent) {
  setShowGrid(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

  QHeaderView* columns = horizontalHeader();
  columns->setSectionsMovable(true);
  columns->setSectionsClickable(true);
  columns->setStretchLastSection(false);
  columns->setHighlightSections(false);
  columns->setMinimumSectionSize(1);  // narrow button columns keep the width they are given
  connect(columns, &QHeaderView::sectionClicked, this, &SiteListView::headerClicked);

  // A fixed row height spares the view from measuring every row of a long list.
  QHeaderView* rows = verticalHeader();
  rows->hide();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setMinimumSectionSize(1);
  rows->setDefaultSectionSize(fontMetrics().height() + 6);
}

void SiteListView::SetCellButtonRole(int role) {
  auto* buttons = new CellButtonDelegate(role, this);
  connect(buttons, &CellButtonDelegate::clicked, this, &SiteListView::cellButtonClicked);
  setItemDelegate(buttons);
  delete buttons_;
  buttons_ = buttons;
}

void SiteListView::SetCheckColumn(int column) { checkColumn_ = column; }

void SiteListView::ApplyColumnWidths(std::span<const int> widths) {
  const int charWidth = std::max(1, fontMetrics().averageCharWidth());
  for (std::size_t column = 0; column < widths.size(); ++column) {
    const int logical = static_cast<int>(column);
    if (widths[column] <= 0) {
      setColumnHidden(logical, true);
      continue;
    }
    setColumnHidden(logical, false);
    setColumnWidth(logical, std::max(widths[column] * charWidth / kDescribedCharWidth, TitleWidth(logical)));
  }
}

int SiteListView::TitleWidth(int column) const {
  if (!model()) return 0;
  const QString title = model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
  if (title.isEmpty()) return 0;
  const QStyle* shown = horizontalHeader()->style();
  return horizontalHeader()->fontMetrics().horizontalAdvance(title) + 2 * shown->pixelMetric(QStyle::PM_HeaderMargin) +
         shown->pixelMetric(QStyle::PM_HeaderMarkSize);
}

int SiteListView::SelectedRow() const {
  if (!selectionModel()) return -1;
  const QItemSelection selection = selectionModel()->selection();
  return selection.isEmpty() ? -1 : selection.first().top();
}

void SiteListView::ShowSortIndicator(int column, bool valuesRise) {
  horizontalHeader()->setSortIndicator(column, valuesRise ? Qt::AscendingOrder : Qt::DescendingOrder);
  horizontalHeader()->setSortIndicatorShown(true);
}

void SiteListView::HideSortIndicator() { horizontalHeader()->setSortIndicatorShown(false); }

void SiteListView::mousePressEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  // Like a report list: a click below the rows leaves no row selected.
  if (!index.isValid()) clearSelection();

  if (event->button() == Qt::RightButton) {
    if (index.isValid()) setCurrentIndex(index);  // selects the whole row as well
    event->accept();
    emit rowRightClicked(index.isValid() ? index.row() : -1);
    return;
  }
  if (event->button() == Qt::LeftButton && index.isValid()) {
    emit cellClicked(index.row(), index.column(), event->modifiers());
  }
  QTableView::mousePressEvent(event);
}

void SiteListView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    mousePressEvent(event);
    return;
  }
  // The first press of the pair already selected the row and counted as a click.
  const QModelIndex index = indexAt(event->position().toPoint());
  event->accept();
  emit rowDoubleClicked(index.isValid() ? index.row() : -1);
}

void SiteListView::keyPressEvent(QKeyEvent* event) {
  const QModelIndex current = currentIndex();
  if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && checkColumn_ >= 0 &&
      current.isValid()) {
    event->accept();
    emit cellClicked(current.row(), checkColumn_, Qt::NoModifier);
    return;
  }
  QTableView::keyPressEvent(event);
}

void SiteListView::contextMenuEvent(QContextMenuEvent* event) {
  // The right press has been reported already; the owner shows its menu then.
  event->accept();
}

QItemSelectionModel::SelectionFlags SiteListView::selectionCommand(const QModelIndex& index,
                                                                   const QEvent* event) const {
  // A Ctrl-click ticks the row's box; it must not also drop the row's selection.
  if (index.isValid() && event && event->type() == QEvent::MouseButtonPress) {
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
  }
  return QTableView::selectionCommand(index, event);
}

}  // namespace quenderlink
