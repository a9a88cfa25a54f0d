#pragma once

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

namespace quenderlink {

// Draws the cells whose button role holds true as push buttons showing the
// cell's text, and reports a click on one; other cells are drawn as usual.
class CellButtonDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit CellButtonDelegate(int buttonRole, QObject* parent = nullptr);

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

 signals:
  // The left button went down and came up again inside the same button cell.
  void clicked(int row, int column);

 private:
  bool IsButton(const QModelIndex& index) const;

  int buttonRole_;
  QPersistentModelIndex pressed_;
};

}  // namespace quenderlink
