#include "controls/ui/ProgressCellDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOptionProgressBar>

#include <optional>

namespace quenderlink {
namespace {

[[nodiscard]] std::optional<int> Percent(const QVariant& value) {
  bool isNumber = false;
  const int percent = value.toInt(&isNumber);
  if (!value.isValid() || !isNumber || percent < 0 || percent > 100) return std::nullopt;
  return percent;
}

}  // namespace

ProgressCellDelegate::ProgressCellDelegate(int progressRole, QObject* parent)
    : QStyledItemDelegate(parent), progressRole_(progressRole) {}

void ProgressCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  const std::optional<int> percent = Percent(index.data(progressRole_));
  if (!percent) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  QStyleOptionViewItem cell = option;
  initStyleOption(&cell, index);
  QStyle* style = cell.widget ? cell.widget->style() : QApplication::style();
  const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, cell.widget);
  const QString text = cell.fontMetrics.elidedText(cell.text, cell.textElideMode, textRect.width());
  cell.text.clear();
  style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);

  QStyleOptionProgressBar bar;
  bar.rect = option.rect.adjusted(1, 1, -1, -1);
  bar.palette = option.palette;
  bar.fontMetrics = option.fontMetrics;
  bar.direction = option.direction;
  bar.state = QStyle::State_Enabled | QStyle::State_Horizontal;
  bar.minimum = 0;
  bar.maximum = 100;
  bar.progress = *percent;
  bar.textVisible = false;
  style->drawControl(QStyle::CE_ProgressBar, &bar, painter, cell.widget);

  painter->save();
  const bool selected = (cell.state & QStyle::State_Selected) != 0;
  painter->setPen(cell.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter->setFont(cell.font);
  painter->drawText(textRect, static_cast<int>(cell.displayAlignment), text);
  painter->restore();
}

}  // namespace quenderlink
