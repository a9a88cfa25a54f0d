#pragma once

#include <QStyledItemDelegate>

namespace quenderlink {

// Draws a progress bar behind the text of the cells whose progress role holds a
// percentage 0..100; other cells are drawn as usual.
class ProgressCellDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit ProgressCellDelegate(int progressRole, QObject* parent = nullptr);

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  int progressRole_;
};

}  // namespace quenderlink
