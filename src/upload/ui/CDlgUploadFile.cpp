#include "upload/ui/CDlgUploadFile.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <ctime>

#include "controls/ui/LogBox.h"
#include "core/FixedText.h"
#include "core/Printf.h"
#include "core/RecordText.h"
#include "core/TextFileAppend.h"
#include "dialogs/ui/CDlgPingDevice.h"
#include "dialogs/ui/CDlgResetUnit.h"
#include "journal/ProgramJournal.h"
#include "journal/RunSettingsText.h"
#include "prompts/ui/DialogWidgets.h"
#include "upload/UploadEngine.h"
#include "upload/UploadLogFile.h"

namespace quenderlink {

namespace {

enum ReportChoice { kSaveLog = 1, kCopyLog, kEmailLog };

constexpr int kBlinkShortMs = 500;
constexpr int kBlinkLongMs = 1500;

const QColor kStatusText(0, 0, 128);
const QColor kStatusBackground(192, 255, 192);
const QColor kWarningText(160, 0, 0);
const QColor kWarningBackground(255, 255, 128);
const QColor kCloseFace(128, 224, 128);

QString ColourStyle(const QColor& text, const QColor& background) {
  return QString("color: %1; background-color: %2;").arg(text.name(), background.name());
}

}  // namespace

CDlgUploadFile::CDlgUploadFile(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop,
                               UploadedSiteReceiver& receiver, std::string programFile, QWidget* parent)
    : QDialog(parent), state_(state), prompts_(prompts), desktop_(desktop), receiver_(receiver),
      programFile_(std::move(programFile)), engineListener_(this, *this),
      uploadLog_(state.params, [this](std::uint16_t, LogClass logClass, const std::string& text) {
        LogLine(logClass, text);
      }),
      engine_(this, state.operations, &OperationState::uploadInProgress, [this] { request_.stop = 1; }) {
  setModal(true);
  setWindowTitle(tr("Upload Program"));
  for (const SiteRecord& record : state_.sites.records()) {
    if ((record.SiteFlags & kFlagHighlighted) == 0) continue;
    site_ = record;
    break;
  }
  sites_.Take(state_.sites, kFlagHighlighted);

  status_ = PlainLabel({}, "statusText", this);
  QFont bold = status_->font();
  bold.setBold(true);
  status_->setFont(bold);
  status_->setAlignment(Qt::AlignCenter);
  status_->setMargin(4);
  status_->hide();
  icon_ = new QToolButton(this);
  icon_->setObjectName("iconButton");
  icon_->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
  icon_->setIconSize(QSize(32, 32));
  icon_->setAutoRaise(true);
  icon_->hide();
  log_ = new LogBox(this);
  log_->setObjectName("logBox");
  log_->setMinimumSize(560, 320);
  // The reply summary and the firmware box line up in columns.
  log_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  abort_ = NamedButton("Abort", "abortButton", this);
  report_ = NamedButton("Report", "reportButton", this);
  reset_ = NamedButton("RESET Unit", "resetButton", this);
  ping_ = NamedButton("Ping Unit", "pingButton", this);
  for (QPushButton* button : {abort_, report_, reset_, ping_}) {
    // Enter must not end an upload.
    button->setAutoDefault(false);
  }
  for (QPushButton* button : {report_, reset_, ping_}) button->hide();
  connect(abort_, &QPushButton::clicked, this, &CDlgUploadFile::AbortOrClose);
  connect(report_, &QPushButton::clicked, this, &CDlgUploadFile::ShowReport);
  connect(reset_, &QPushButton::clicked, this, &CDlgUploadFile::ResetUnit);
  connect(ping_, &QPushButton::clicked, this, &CDlgUploadFile::PingUnit);

  auto* statusRow = new QHBoxLayout;
  statusRow->addWidget(status_, 1);
  statusRow->addWidget(icon_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(abort_);
  buttons->addStretch(1);
  buttons->addWidget(report_);
  buttons->addWidget(reset_);
  buttons->addWidget(ping_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(statusRow);
  layout->addWidget(log_, 1);
  layout->addLayout(buttons);

  blinkTimer_.setSingleShot(true);
  connect(&blinkTimer_, &QTimer::timeout, this, &CDlgUploadFile::Blink);
}

CDlgUploadFile::~CDlgUploadFile() {
  closing_ = true;
  engine_.Stop();
}

void CDlgUploadFile::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (startPosted_) return;
  startPosted_ = true;
  // Posted, so that the dialog is on screen before the upload starts.
  QTimer::singleShot(0, this, &CDlgUploadFile::Start);
}

void CDlgUploadFile::Start() {
  if (!isVisible()) return;  // closed before the start came round
  request_.stop = 0;
  request_.finished = 0;
  request_.sites = sites_.sites();
  request_.params = &state_.params;
  request_.filePath = programFile_;
  journal_.emplace(StartJournalRun(state_, RunKind::Upload, UploadSettingsText(state_.params)), engineListener_,
                   request_.stop);
  // The dialog is modal: the table is as it was when the dialog copied its sites.
  for (const RunSite& site : sites_.sites()) {
    if (const SiteRecord* record = sites_.RecordOf(site.row)) journal_->AddSite(*record);
  }
  request_.listener = &*journal_;
  startedAt_ = std::chrono::steady_clock::now();
  if (!engine_.Launch([this] { UploadEngine(request_); })) {
    journal_.reset();
    LogLine(LogClass::Error, Printf("%s\n", kNoWorkerText));
    EndRun();
  }
}

void CDlgUploadFile::reject() { AbortOrClose(); }

void CDlgUploadFile::AbortOrClose() {
  // Before the start nothing runs that could be waited for.
  if (done_ || !engine_.running()) {
    done(Rejected);
    return;
  }
  if (abortAsked_) return;
  if (!prompts_.Confirm(ConfirmMode::AbortUpload, kAbortUploadQuestion)) return;
  engine_.RequestStop();
  abortAsked_ = true;
}

void CDlgUploadFile::done(int result) {
  closing_ = true;
  engine_.Stop();
  // After the engine's last calls, which may have started it.
  blinkTimer_.stop();
  QDialog::done(result);
}

void CDlgUploadFile::EndRun() {
  done_ = true;
  abort_->setText("Close");
  for (QPushButton* button : {report_, reset_, ping_}) button->show();
  engine_.Finish();
}

void CDlgUploadFile::LogLine(LogClass logClass, const std::string& text) { log_->Append(logClass, text); }

std::string CDlgUploadFile::UploadSeconds() const {
  return Printf("Upload is Complete (%d.%d seconds)", uploadTenths_ / 10, uploadTenths_ % 10);
}

void CDlgUploadFile::ShowStatus(const std::string& text, QColor textColour, QColor background) {
  status_->setText(DialogText(text));
  statusTextColour_ = textColour;
  statusBackground_ = background;
  ApplyBlinkPhase();
  status_->show();
}

void CDlgUploadFile::ApplyBlinkPhase() {
  status_->setStyleSheet(blinkPhase_ ? ColourStyle(statusBackground_, statusTextColour_)
                                     : ColourStyle(statusTextColour_, statusBackground_));
}

void CDlgUploadFile::Blink() {
  blinkPhase_ = !blinkPhase_;
  ApplyBlinkPhase();
  // Once the upload is over the blinking "Close" says what is left to do.
  if (!engine_.running())
    abort_->setStyleSheet(blinkPhase_ ? QString("background-color: %1;").arg(kCloseFace.name()) : QString());
  blinkTimer_.start(blinkPhase_ ? kBlinkLongMs : kBlinkShortMs);
}

void CDlgUploadFile::OnJobAddress(std::uint16_t row, const std::string& address) {
  if (SiteRecord* record = sites_.RecordOf(row)) SetFieldText(record->IpByNumber, address);
  // The receiver finds the site by the address the engine reaches the unit at.
  if (site_ && site_->RowNumber == row) SetFieldText(site_->IpByNumber, address);
}

void CDlgUploadFile::OnUploadEvent(UploadEvent event, std::uint16_t row, int value) {
  uploadLog_.OnUploadEvent(event, row, value);
  if (event == UploadEvent::LastPacketAcknowledged) {
    const auto elapsed = std::chrono::steady_clock::now() - startedAt_;
    uploadTenths_ = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() / 100);
    ShowStatus(UploadSeconds() + "\r\nWaiting for unit to re-start.", kStatusText, kStatusBackground);
    done_ = true;
    blinkTimer_.start(kBlinkShortMs);
  } else if (event == UploadEvent::NewProgramGivenUp) {
    EndRun();
    ShowStatus(UploadSeconds() + "\r\nCAUTION: No Response from NEW PROGRAM.", kWarningText, kWarningBackground);
  }
}

void CDlgUploadFile::OnPacketText(std::uint16_t row, const std::string& text) { uploadLog_.OnPacketText(row, text); }

void CDlgUploadFile::OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) {
  if (site_) SendUploadedSite(*site_, reply, state_.params.allowChangeSiteName, receiver_);
  uploadLog_.OnNewProgramAnswered(row, reply);
  ShowStatus(UploadSeconds() + ".", kStatusText, kStatusBackground);
  EndRun();
}

void CDlgUploadFile::OnUploadFailed(UploadFailure failure, std::uint16_t row, const std::string& text) {
  uploadLog_.OnUploadFailed(failure, row, text);
  EndRun();
}

void CDlgUploadFile::OnUploadDone() {
  if (!closing_) TellJournalFailure(state_, prompts_);
  if (abortAsked_) {
    if (!closing_) done(Rejected);
    return;
  }
  status_->show();
  icon_->show();
  EndRun();
}

void CDlgUploadFile::ShowReport() {
  const int choice = prompts_.ChooseFromPopup({{kSaveLog, "Save Log to Text File ..."},
                                               {},
                                               {kCopyLog, "Copy Log to Windows Clipboard"},
                                               {},
                                               {kEmailLog, "Email Log to ..."}});
  if (choice == kSaveLog) {
    SaveLog();
  } else if (choice == kCopyLog) {
    CopyLogToClipboard();
  } else if (choice == kEmailLog) {
    CopyLogToClipboard();
    prompts_.ShowMessage("The log was copied to the clipboard.\r\nPaste it into your e-mail.");
  }
}

void CDlgUploadFile::CopyLogToClipboard() { QGuiApplication::clipboard()->setText(log_->toPlainText()); }

void CDlgUploadFile::SaveLog() {
  const std::time_t now = std::time(nullptr);
  std::tm localTime{};
  localtime_r(&now, &localTime);
  const std::filesystem::path file = UploadLogFilePath(state_.programFolder, localTime);
  if (const Result appended = AppendToTextFile(file, log_->toPlainText().toStdString()); !appended) {
    prompts_.ShowMessage(appended.reason());
    return;
  }
  desktop_.OpenInEditor(file);
}

void CDlgUploadFile::ResetUnit() {
  if (!site_) {
    prompts_.ShowMessage("INTERNAL ERROR:\nPLEASE NOTIFY BRINDLEMAR\nERROR CODE = 139");
    return;
  }
  CDlgResetUnit(*site_, state_.params, prompts_, this).exec();
}

void CDlgUploadFile::PingUnit() {
  if (!site_) {
    prompts_.ShowMessage("INTERNAL ERROR:\nPLEASE NOTIFY BRINDLEMAR\nERROR CODE = 138");
    return;
  }
  LogLine(LogClass::Progress, Printf("Sending Ping to %s\n", RecordFieldUtf8(site_->HostText).c_str()));
  CDlgPingDevice dialog(*site_, state_, prompts_, this);
  dialog.exec();
  if (dialog.UserAborted())
    LogLine(LogClass::Caution, "**** User Terminated Ping!\n");
  else if (dialog.ReplyReceived())
    LogLine(LogClass::Response, ReplySummary(dialog.Reply(), state_.params.railroadCode, true));
  else
    LogLine(LogClass::Error, "**** ERROR: Ping Failed!\n");
}

}  // namespace quenderlink
