#include "dialogs/ui/CDlgAddSite.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

#include "dialogs/AddressHistoryMenu.h"
#include "dialogs/SiteEditInfo.h"
#include "dialogs/ui/CDlgPingDevice.h"
#include "dialogs/ui/CDlgResetUnit.h"
#include "prompts/ui/DialogWidgets.h"

namespace quenderlink {
namespace {

QLineEdit* Edit(const char* objectName, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(objectName);
  return edit;
}

// Enter belongs to the dialog, not to whichever button was clicked last.
QPushButton* Button(const QString& caption, const char* objectName, QWidget* parent) {
  QPushButton* button = NamedButton(caption, objectName, parent);
  button->setAutoDefault(false);
  return button;
}

QFont InfoFont() {
  QFont font("Courier New");
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  return font;
}

PingOutcome RunPingDialog(SiteRecord& site, ProgramState& state, UserPrompts& prompts, QWidget* parent) {
  CDlgPingDevice dialog(site, state, prompts, parent);
  dialog.exec();
  return {.answered = dialog.ReplyReceived(), .aborted = dialog.UserAborted(), .reply = dialog.Reply()};
}

}  // namespace

CDlgAddSite::CDlgAddSite(SiteEditMode mode, ProgramState& state, UserPrompts& prompts, SiteEditOwner& owner,
                         QWidget* parent, SitePing ping)
    : QDialog(parent),
      state_(state),
      prompts_(prompts),
      owner_(owner),
      ping_(std::move(ping)),
      form_(mode, state.params, prompts),
      hostEdit_(Edit("hostEdit", this)),
      portEdit_(Edit("portEdit", this)),
      telnetEdit_(Edit("telnetEdit", this)),
      info_(new QPlainTextEdit(this)),
      pingButton_(Button("Ping It", "pingButton", this)),
      saveButton_(Button("Save", "saveButton", this)) {
  if (!ping_) ping_ = [this](SiteRecord& site) { return RunPingDialog(site, state_, prompts_, this); };
  setModal(true);
  setWindowTitle(QString::fromStdString(SiteEditTitle(mode)));

  info_->setObjectName("infoText");
  info_->setReadOnly(true);
  info_->setFont(InfoFont());
  info_->setMinimumSize(420, 260);
  info_->setPlainText(DialogText(InitialSiteEditInfo(state.params.railroadCode)));

  QPushButton* historyButton = Button(">>", "historyButton", this);
  QPushButton* resetButton = Button("Reset Unit", "resetButton", this);
  QPushButton* closeButton = Button("Close", "closeButton", this);
  historyButton->setVisible(form_.HistoryShown());
  saveButton_->setVisible(form_.SaveShownAtStart());

  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel("IP Addr/DNS", this), 0, 0);
  fields->addWidget(hostEdit_, 0, 1);
  fields->addWidget(historyButton, 0, 2);
  fields->addWidget(new QLabel("Port Number", this), 1, 0);
  fields->addWidget(portEdit_, 1, 1);
  fields->addWidget(new QLabel("Telnet Port", this), 2, 0);
  fields->addWidget(telnetEdit_, 2, 1);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {pingButton_, saveButton_, resetButton, closeButton}) buttons->addWidget(button);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(new QLabel("INFO:", this));
  layout->addWidget(info_, 1);
  layout->addLayout(buttons);

  connect(pingButton_, &QPushButton::clicked, this, &CDlgAddSite::PingIt);
  connect(saveButton_, &QPushButton::clicked, this, &CDlgAddSite::Save);
  connect(resetButton, &QPushButton::clicked, this, &CDlgAddSite::ResetUnit);
  connect(historyButton, &QPushButton::clicked, this, &CDlgAddSite::ChooseFromHistory);
  connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

  ShowFields(form_.InitialFields());
}

void CDlgAddSite::SetSite(const SiteRecord& site) {
  form_.SetSite(site);
  ShowFields(form_.InitialFields());
}

void CDlgAddSite::accept() {
  if (form_.PrepareForSave(Fields())) QDialog::accept();
}

void CDlgAddSite::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (form_.mode() != SiteEditMode::PingSite || startPosted_) return;
  startPosted_ = true;
  QMetaObject::invokeMethod(this, &CDlgAddSite::PingIt, Qt::QueuedConnection);
}

void CDlgAddSite::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return QDialog::keyPressEvent(event);
  // A focused button takes Enter as a click, as everywhere else.
  if (auto* button = qobject_cast<QPushButton*>(focusWidget())) return button->click();
  accept();
}

SiteEditFields CDlgAddSite::Fields() const {
  return {hostEdit_->text().toStdString(), portEdit_->text().toStdString(), telnetEdit_->text().toStdString()};
}

void CDlgAddSite::ShowFields(const SiteEditFields& fields) {
  hostEdit_->setText(QString::fromStdString(fields.host));
  portEdit_->setText(QString::fromStdString(fields.port));
  telnetEdit_->setText(QString::fromStdString(fields.telnetPort));
}

void CDlgAddSite::PingIt() {
  if (!form_.PrepareForPing(Fields())) return;
  const PingOutcome outcome = ping_(form_.site());
  info_->setPlainText(DialogText(form_.ApplyPing(outcome, telnetEdit_->text().toStdString())));
  if (!form_.pinged()) return;
  saveButton_->show();
  pingButton_->setText("Re-PING");
  if (form_.TellsOwnerOfEachPing()) owner_.OnSitePinged(form_.powerup(), form_.site());
}

void CDlgAddSite::Save() {
  if (!form_.PrepareForSave(Fields())) return;
  if (form_.pinged())
    owner_.OnSitePinged(form_.powerup(), form_.site());
  else
    owner_.OnSiteSaved(form_.site());
  QDialog::accept();
}

void CDlgAddSite::ResetUnit() {
  if (!form_.PrepareForReset(Fields())) return;
  CDlgResetUnit dialog(form_.site(), state_.params, prompts_, this);
  dialog.exec();
}

void CDlgAddSite::ChooseFromHistory() {
  if (const std::optional<std::string> address = ChooseHistoryAddress(state_.programFolder, prompts_))
    hostEdit_->setText(QString::fromStdString(*address));
}

}  // namespace quenderlink
