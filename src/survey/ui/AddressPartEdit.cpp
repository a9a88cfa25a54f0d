#include "survey/ui/AddressPartEdit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

namespace quenderlink {

AddressPartEdit::AddressPartEdit(QWidget* parent) : NumberBox(255, parent) {}

void AddressPartEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste) && PasteAddress()) return;
  if (event->text() == ".") {
    // Nothing typed here yet (empty, or all selected as when moved onto): the
    // '.' ends the number before, which a full box has already moved on from.
    if (!text().isEmpty() && selectedText() != text()) emit moveOnRequested();
    return;
  }
  const QString before = text();
  NumberBox::keyPressEvent(event);
  const bool filled = text() != before && text().size() == maxLength() && cursorPosition() == maxLength();
  if (filled && event->text().size() == 1 && event->text()[0].isDigit()) emit moveOnRequested();
}

bool AddressPartEdit::PasteAddress() {
  const std::optional<DottedQuad> address = ParseDottedQuad(QGuiApplication::clipboard()->text().toStdString());
  if (!address) return false;
  emit addressPasted(*address);
  return true;
}

}  // namespace quenderlink
