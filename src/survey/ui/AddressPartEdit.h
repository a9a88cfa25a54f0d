#pragma once

#include "controls/ui/NumberBox.h"

#include "survey/AddressRange.h"

namespace quenderlink {

// One number 0..255 of a dotted address, typed as in an address control: '.'
// after a number, or the digit that fills the box, moves on to the next box,
// and a dotted address pasted into the box with the keyboard is handed over
// whole (the context menu's Paste is Qt's own and stays plain).
class AddressPartEdit : public NumberBox {
  Q_OBJECT

 public:
  explicit AddressPartEdit(QWidget* parent = nullptr);

 signals:
  void moveOnRequested();
  void addressPasted(const DottedQuad& address);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // False when the clipboard holds no dotted address: then it is pasted as usual.
  [[nodiscard]] bool PasteAddress();
};

}  // namespace quenderlink
