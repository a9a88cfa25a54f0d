#include "shell/ui/MainViewForm.h"

#include <QBoxLayout>

namespace quenderlink {
namespace {

// The program file button is the green one the "no program file" message points to.
constexpr char kProgramFileButtonStyle[] = "QPushButton { background: #2e8b57; color: white; text-align: left; padding: 4px; }";
constexpr char kSiteFileButtonStyle[] = "QPushButton { background: #1f4e8c; color: white; text-align: left; padding: 4px; }";
constexpr char kFileLabelStyle[] = "QLabel { color: #1f4e8c; font-weight: bold; }";

QPushButton* FileButton(const char* caption, const char* name, const char* style, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setStyleSheet(style);
  button->setMinimumHeight(44);
  return button;
}

QLabel* FileLabel(const char* text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setStyleSheet(kFileLabelStyle);
  return label;
}

}  // namespace

MainViewForm::MainViewForm(QWidget* parent)
    : QWidget(parent),
      list_(new SiteListView(this)),
      commandPanel_(new QWidget(this)),
      filterPanel_(new QWidget(this)),
      grid_(new QGridLayout(this)),
      programFile_(FileButton("Browse Bin Pgm File", "programFileButton", kProgramFileButtonStyle, this)),
      siteFile_(FileButton("Browse IP_Address File", "siteFileButton", kSiteFileButtonStyle, this)) {
  list_->setObjectName("siteList");

  auto* files = new QGridLayout;
  files->addWidget(FileLabel("FileName, IP ADDRESS", this), 0, 0);
  files->addWidget(FileLabel("FileName, RKM Program File", this), 0, 1);
  files->addWidget(siteFile_, 1, 0);
  files->addWidget(programFile_, 1, 1);

  auto* filters = new QHBoxLayout(filterPanel_);
  filters->setContentsMargins(0, 0, 0, 0);
  for (QComboBox*& filter : filters_) {
    filter = new QComboBox(filterPanel_);
    filter->setMinimumWidth(120);
    filters->addWidget(filter);
  }
  filters->addStretch();

  new QBoxLayout(QBoxLayout::TopToBottom, commandPanel_);
  exit_ = AddCommandButton("Exit", "exitButton");
  pingSelected_ = AddCommandButton("Ping Selected", "pingSelectedButton");
  pingManual_ = AddCommandButton("Ping Manual", "pingManualButton");
  pingRange_ = AddCommandButton("Ping Range", "pingRangeButton");
  newSite_ = AddCommandButton("New Site", "newSiteButton");
  runtimeParams_ = AddCommandButton("Runtime Params", "runtimeParamsButton");
  beginUpload_ = AddCommandButton("Begin Upload", "beginUploadButton");
  config_ = AddCommandButton("Config Mngmnt", "configButton");
  static_cast<QBoxLayout*>(commandPanel_->layout())->addStretch();

  grid_->addLayout(files, 0, 0, 1, 2);
  grid_->addWidget(filterPanel_, 1, 0);
  grid_->addWidget(list_, 2, 0);
  grid_->setRowStretch(2, 1);
  grid_->setColumnStretch(0, 1);
  Arrange(true, true, false, true);
}

QPushButton* MainViewForm::AddCommandButton(const char* caption, const char* name) {
  auto* button = new QPushButton(caption, commandPanel_);
  button->setObjectName(name);
  button->setMinimumSize(110, 30);
  commandPanel_->layout()->addWidget(button);
  return button;
}

void MainViewForm::Arrange(bool showButtons, bool buttonsAtRight, bool showFilters, bool showConfigButton) {
  grid_->removeWidget(commandPanel_);
  auto* commands = static_cast<QBoxLayout*>(commandPanel_->layout());
  commands->setDirection(buttonsAtRight ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
  if (buttonsAtRight) {
    grid_->addWidget(commandPanel_, 1, 1, 2, 1);
  } else {
    grid_->addWidget(commandPanel_, 3, 0, 1, 2);
  }
  commandPanel_->setVisible(showButtons);
  filterPanel_->setVisible(showFilters);
  config_->setVisible(showConfigButton);
}

}  // namespace quenderlink
