#include "survey/ui/AddressRangeInputs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "controls/ui/NumberBox.h"
#include "survey/ui/AddressPartEdit.h"

namespace quenderlink {
namespace {

// Moved onto, the box's number is selected so that typing replaces it.
void MoveInto(QLineEdit& box) {
  box.setFocus();
  box.selectAll();
}

}  // namespace

AddressRangeInputs::AddressRangeInputs(QWidget* parent) : QWidget(parent) {
  auto* inputs = new QHBoxLayout(this);
  inputs->setContentsMargins(0, 0, 0, 0);
  inputs->addWidget(new QLabel("From IP:", this));
  lastNumber_ = new NumberBox(999, this);
  for (std::size_t part = 0; part < fromAddress_.size(); ++part) {
    if (part > 0) inputs->addWidget(new QLabel(".", this));
    auto* box = new AddressPartEdit(this);
    box->setObjectName(QString("fromAddress%1").arg(part));
    box->setFixedWidth(40);
    // The box after the fourth is the last number's.
    connect(box, &AddressPartEdit::moveOnRequested, this, [this, part] {
      MoveInto(part + 1 < fromAddress_.size() ? *fromAddress_[part + 1] : *lastNumber_);
    });
    connect(box, &AddressPartEdit::addressPasted, this, [this](const DottedQuad& address) {
      for (std::size_t each = 0; each < fromAddress_.size(); ++each)
        fromAddress_[each]->setText(QString::number(address[each]));
      fromAddress_.back()->setFocus();
    });
    fromAddress_[part] = box;
    inputs->addWidget(box);
  }
  inputs->addSpacing(16);
  inputs->addWidget(new QLabel("To (last 3 digits):", this));
  lastNumber_->setObjectName("lastNumberEdit");
  lastNumber_->setFixedWidth(50);
  inputs->addWidget(lastNumber_);
}

void AddressRangeInputs::Show(const std::string& from, const std::string& last) {
  const QStringList parts = QString::fromStdString(from).split('.');
  if (parts.size() == static_cast<qsizetype>(fromAddress_.size())) {
    for (std::size_t part = 0; part < fromAddress_.size(); ++part)
      fromAddress_[part]->setText(parts[static_cast<qsizetype>(part)].trimmed());
  }
  lastNumber_->setText(QString::fromStdString(last));
}

AddressRange AddressRangeInputs::Range() {
  std::array<std::uint8_t, 4> start{};
  for (std::size_t part = 0; part < start.size(); ++part)
    start[part] = static_cast<std::uint8_t>(fromAddress_[part]->number());
  const unsigned typedLast = lastNumber_->number();
  const AddressRange range = AddressRange::FromInputs(start[0], start[1], start[2], start[3], typedLast);
  if (range.last != typedLast % 256) lastNumber_->setText(QString::number(range.last));
  return range;
}

}  // namespace quenderlink
