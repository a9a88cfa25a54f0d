#include "shell/ui/CChildFrame.h"

#include <QCloseEvent>

namespace quenderlink {

CChildFrame::CChildFrame(QWidget* view, bool closable, QWidget* parent) : QMdiSubWindow(parent), closable_(closable) {
  setWidget(view);
  setAttribute(Qt::WA_DeleteOnClose);
  if (!closable) setWindowFlag(Qt::WindowCloseButtonHint, false);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
  // The main window destroys its children without closing them, so this refuses the user alone.
  if (!closable_) {
    event->ignore();
    return;
  }
  QMdiSubWindow::closeEvent(event);
}

}  // namespace quenderlink
