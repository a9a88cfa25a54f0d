#pragma once

#include <QMdiSubWindow>

namespace quenderlink {

// A child window holding one view. The main view's window cannot be closed by
// itself: it goes when the main window does.
class CChildFrame : public QMdiSubWindow {
  Q_OBJECT

 public:
  CChildFrame(QWidget* view, bool closable, QWidget* parent = nullptr);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  bool closable_;
};

}  // namespace quenderlink
