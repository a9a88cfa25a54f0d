#include "controls/ui/NumberBox.h"

#include <QTimer>
#include <QToolTip>
#include <QValidator>

#include <algorithm>

namespace quenderlink {
namespace {

// Digits only, and at most the maximum: QIntValidator lets a number above the
// maximum through as "intermediate" while it has no more digits than the maximum.
class BoundedNumberValidator : public QValidator {
 public:
  BoundedNumberValidator(unsigned maximum, QObject* parent) : QValidator(parent), maximum_(maximum) {}

  State validate(QString& input, int&) const override {
    if (input.isEmpty()) return Intermediate;
    if (!std::all_of(input.cbegin(), input.cend(), [](QChar c) { return c.isDigit(); })) return Invalid;
    return input.toULongLong() <= maximum_ ? Acceptable : Invalid;
  }

 private:
  unsigned maximum_;
};

}  // namespace

NumberBox::NumberBox(unsigned maximum, QWidget* parent) : QLineEdit(parent), maximum_(maximum) {
  setValidator(new BoundedNumberValidator(maximum, this));
  setMaxLength(static_cast<int>(QString::number(maximum).size()));
  connect(this, &QLineEdit::inputRejected, this, &NumberBox::SayWhyRefused);
}

QString NumberBox::refusalText() const { return QString("A number from 0 to %1").arg(maximum_); }

void NumberBox::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // After the click that gave the focus has placed the cursor.
  QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

void NumberBox::SayWhyRefused() { QToolTip::showText(mapToGlobal(rect().bottomLeft()), refusalText(), this); }

}  // namespace quenderlink
