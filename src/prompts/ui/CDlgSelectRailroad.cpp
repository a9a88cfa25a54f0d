#include "prompts/ui/CDlgSelectRailroad.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "prompts/ui/DialogWidgets.h"

namespace quenderlink {
namespace {

// In code order: the first button is code 1.
constexpr const char* kRailroadButtons[] = {"BHP", "CP Rail", "CSX", "IOC", "Norfolk Southern", "Union Pacific"};

}  // namespace

CDlgSelectRailroad::CDlgSelectRailroad(std::uint8_t code, QWidget* parent) : QDialog(parent), code_(code) {
  setModal(true);
  setWindowTitle("Select Your Railroad");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(HeadingLabel("Please Select Your Railroad", "headingLabel", this));

  auto* group = new QButtonGroup(this);
  int buttonCode = 0;
  for (const char* caption : kRailroadButtons) {
    auto* button = new QRadioButton(caption, this);
    group->addButton(button, ++buttonCode);
    button->setChecked(buttonCode == code);
    layout->addWidget(button);
  }
  connect(group, &QButtonGroup::idClicked, this, [this](int id) { code_ = static_cast<std::uint8_t>(id); });

  QPushButton* ok = LargeButton("OK", "okButton", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addSpacing(12);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
}

std::uint8_t AskRailroad(std::uint8_t current, QWidget* parent) {
  CDlgSelectRailroad dialog(current, parent);
  dialog.exec();
  return dialog.SelectedCode();
}

}  // namespace quenderlink
