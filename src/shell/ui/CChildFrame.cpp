#include "shell/ui/CChildFrame.h"

#include <QCloseEvent>

#include "controls/ui/OperationView.h"

namespace quenderlink {

CChildFrame::CChildFrame(QWidget* view, bool closable, QWidget* parent) : QMdiSubWindow(parent), closable_(closable) {
  setWidget(view);
  setAttribute(Qt::WA_DeleteOnClose);
  if (!closable) setWindowFlag(Qt::WindowCloseButtonHint, false);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
  // The main window destroys its children without closing them, so this refuses the user alone.
  auto* view = qobject_cast<OperationView*>(widget());
  if (!closable_ || (view && !view->MayClose())) {
    event->ignore();
    return;
  }
  QMdiSubWindow::closeEvent(event);
}

}  // namespace quenderlink
