#pragma once

#include <QString>
#include <QWidget>

namespace quenderlink {

// What the frame holds in an operation's child window: the view names its
// window and asks for it to be closed through these signals.
class OperationView : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;

  // Asked when the user closes the view's window; a view that may not go now
  // says why and returns false.
  virtual bool MayClose() { return true; }

 signals:
  void titleChanged(const QString& title);
  // The view's "Close" button.
  void closeRequested();
};

}  // namespace quenderlink
