#include "controls/ui/CellButtonDelegate.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

namespace quenderlink {

CellButtonDelegate::CellButtonDelegate(int buttonRole, QObject* parent)
    : QStyledItemDelegate(parent), buttonRole_(buttonRole) {}

bool CellButtonDelegate::IsButton(const QModelIndex& index) const {
  return index.isValid() && index.data(buttonRole_).toBool();
}

void CellButtonDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  if (!IsButton(index)) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  QStyleOptionViewItem cell = option;
  initStyleOption(&cell, index);
  QStyle* style = cell.widget ? cell.widget->style() : QApplication::style();
  style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, cell.widget);

  QStyleOptionButton button;
  button.rect = option.rect.adjusted(1, 1, -1, -1);
  button.text = cell.text;
  button.palette = option.palette;
  button.fontMetrics = option.fontMetrics;
  button.direction = option.direction;
  button.state = QStyle::State_Enabled | (index == pressed_ ? QStyle::State_Sunken : QStyle::State_Raised);
  style->drawControl(QStyle::CE_PushButton, &button, painter, cell.widget);
}

bool CellButtonDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) {
  const bool press = event->type() == QEvent::MouseButtonPress;
  const bool release = event->type() == QEvent::MouseButtonRelease;
  if (!press && !release) return QStyledItemDelegate::editorEvent(event, model, option, index);

  const auto* mouse = static_cast<QMouseEvent*>(event);
  if (mouse->button() != Qt::LeftButton) return false;
  if (press) {
    // The press also selects the row, so it is not taken here.
    pressed_ = IsButton(index) ? QPersistentModelIndex(index) : QPersistentModelIndex();
    return false;
  }
  const bool wasPressed = pressed_.isValid() && index == pressed_;
  pressed_ = QPersistentModelIndex();
  if (!wasPressed || !option.rect.contains(mouse->position().toPoint())) return false;
  emit clicked(index.row(), index.column());
  return true;
}

}  // namespace quenderlink
