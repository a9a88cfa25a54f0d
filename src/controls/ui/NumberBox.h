#pragma once

#include <QLineEdit>

namespace quenderlink {

// A box for a whole number from 0 to a maximum: a keystroke that would make
// anything else is refused, and the box says why beside itself. Moved onto,
// its number is selected, so typing replaces it rather than adding to it.
class NumberBox : public QLineEdit {
  Q_OBJECT

 public:
  NumberBox(unsigned maximum, QWidget* parent = nullptr);

  // The number typed; 0 while the box is empty.
  unsigned number() const { return text().toUInt(); }
  // What the box says when a keystroke is refused.
  QString refusalText() const;

 protected:
  void focusInEvent(QFocusEvent* event) override;

 private:
  void SayWhyRefused();

  unsigned maximum_;
};

}  // namespace quenderlink
