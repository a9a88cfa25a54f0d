#include "terminal/ui/CFViewTelnetSession.h"

#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <ctime>

#include "controls/ui/ColorRefColor.h"
#include "core/DialogFolder.h"
#include "core/ErrorMessages.h"
#include "core/FixedText.h"
#include "core/IniSettingsFile.h"
#include "core/Printf.h"
#include "core/RecordText.h"
#include "core/TextFileAppend.h"
#include "journal/ProgramJournal.h"
#include "prompts/ui/DialogWidgets.h"
#include "terminal/CaptureFile.h"
#include "terminal/TelnetColorSchemes.h"
#include "terminal/TelnetCommandList.h"
#include "terminal/ui/COurBCGEditCtrl.h"
#include "terminal/ui/TelnetCommandWorker.h"
#include "terminal/ui/TelnetSocketWatch.h"

namespace quenderlink {
namespace {

constexpr std::chrono::seconds kByePause{1};
constexpr int kMinFontHeight = 6;
constexpr char kTextFileFilter[] = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
constexpr char kStillConnected[] = "You are still connected to %s port %d\r\n\r\nDo you want to terminate the connection?";

enum ClearItem { kClearScreen = 1, kClearBuffer };
enum TerminalItem { kCopyAll = 1, kSaveAll, kTerminalClearScreen, kDeleteAll };

// The "Font" pop-up: each item's change of the font height.
struct FontStep {
  const char* text;
  int change;
};
constexpr FontStep kFontSteps[] = {{"Increase Font Size by 1 point", 1},
                                   {"Increase Font Size by 2 point2", 2},
                                   {"Decrease Font Size by 1 point", -1},
                                   {"Decrease Font Size by 2 points", -2}};

TelnetTarget TargetOf(const SiteRecord& site) {
  return {std::string(FieldText(site.HostText)), std::string(FieldText(site.IpByNumber)), site.TelnetPort};
}

std::tm LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

}  // namespace

CFViewTelnetSession::CFViewTelnetSession(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop,
                                         const SiteRecord& site, QWidget* parent)
    : OperationView(parent),
      state_(state),
      prompts_(prompts),
      desktop_(desktop),
      site_(site),
      host_(RecordFieldUtf8(site_.HostText)),
      session_(TargetOf(site_), state.params.railroadCode, *this),
      terminal_(new COurBCGEditCtrl(this)),
      watch_(new TelnetSocketWatch(session_, this)),
      commands_(new TelnetCommandWorker([this](const std::string& command) { return SendToUnit(command + "\r\n"); },
                                        this)),
      close_(NamedButton("Close", "closeButton", this)),
      connect_(NamedButton("Connect", "connectButton", this)),
      echo_(NamedButton("ECHO is ON", "echoButton", this)) {
  terminal_->setObjectName("terminal");
  UseColors();
  terminal_->SetFontHeight(fontHeight_);

  IniSettingsFile ini(state_.programFolder);
  QPushButton* colors = NamedButton("Colors", "colorsButton", this);
  QPushButton* font = NamedButton("Font", "fontButton", this);
  QPushButton* clear = NamedButton("Clear", "clearButton", this);
  QPushButton* command1 = NamedButton(QString::fromStdString(TelnetCommandListName(ini, 1)), "command1Button", this);
  QPushButton* command2 = NamedButton(QString::fromStdString(TelnetCommandListName(ini, 2)), "command2Button", this);

  auto* buttons = LeftPackedRow({close_, connect_, colors, font, clear, echo_, command1, command2});
  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(BuildMenu());
  layout->addLayout(buttons);
  layout->addWidget(terminal_, 1);

  OnButton(close_, [this] { emit closeRequested(); });
  OnButton(connect_, [this] { ToggleConnection(); });
  OnButton(colors, [this] { ChooseColors(); });
  OnButton(font, [this] { ChooseFontSize(); });
  OnButton(clear, [this] { ChooseClear(); });
  OnButton(echo_, [this] { ToggleEcho(); });
  OnButton(command1, [this] { RunCommandList(1); });
  OnButton(command2, [this] { RunCommandList(2); });
  connect(terminal_, &COurBCGEditCtrl::characterTyped, this, &CFViewTelnetSession::Typed);
  connect(terminal_, &COurBCGEditCtrl::rightClicked, this, &CFViewTelnetSession::ShowTerminalMenu);
  byePause_.setSingleShot(true);
  byePause_.setInterval(kByePause);
  connect(&byePause_, &QTimer::timeout, this, &CFViewTelnetSession::EndDisconnect);

  setMinimumSize(640, 400);
  registered_ = state_.openViews.Register(this);
  ShowState();
  // Posted, so that the view is in its window, and its title connected, before the connect begins.
  QTimer::singleShot(0, this, &CFViewTelnetSession::Open);
}

CFViewTelnetSession::~CFViewTelnetSession() {
  // The socket's events and the list's calls reach this view: both end before it does.
  watch_->Stop();
  commands_->Finish();
  if (registered_) state_.openViews.Deregister(this);
}

QMenuBar* CFViewTelnetSession::BuildMenu() {
  auto* bar = new QMenuBar(this);
  // The view's own menu, inside its window even where menus usually sit at the top of the screen.
  bar->setNativeMenuBar(false);
  auto item = [this](QMenu* menu, const char* text, const char* name, void (CFViewTelnetSession::*action)()) {
    QAction* added = menu->addAction(text);
    added->setObjectName(name);
    connect(added, &QAction::triggered, this, [this, action] {
      (this->*action)();
      terminal_->setFocus();
    });
    return added;
  };
  QMenu* file = bar->addMenu("&File");
  item(file, "&1 - Save Buffer to File . . .", "saveBufferItem", &CFViewTelnetSession::SaveBuffer);
  item(file, "&2 - Start Capture File . . . ", "startCaptureItem", &CFViewTelnetSession::StartCapture);
  file->addSeparator();
  fileDisconnect_ = item(file, "&4 - DIS-Connect", "fileDisconnectItem", &CFViewTelnetSession::Disconnect);
  file->addSeparator();
  item(file, "&Close View", "closeViewItem", &CFViewTelnetSession::CloseView);
  QMenu* session = bar->addMenu("&Session");
  sessionReconnect_ = item(session, "&1 - RE-Connect", "reconnectItem", &CFViewTelnetSession::Connect);
  sessionDisconnect_ = item(session, "&2 - DIS-Connect", "disconnectItem", &CFViewTelnetSession::Disconnect);
  QMenu* colors = bar->addMenu("&Colors");
  for (const TelnetColorMenuItem& entry : kTelnetColorMenuItems) {
    QAction* added = colors->addAction(entry.text);
    connect(added, &QAction::triggered, this, [this, scheme = entry.scheme] {
      SetColorScheme(static_cast<std::size_t>(scheme));
      terminal_->setFocus();
    });
  }
  return bar;
}

void CFViewTelnetSession::OnButton(QPushButton* button, std::function<void()> action) {
  connect(button, &QPushButton::clicked, this, [this, action = std::move(action)] {
    action();
    terminal_->setFocus();
  });
}

void CFViewTelnetSession::Open() {
  if (released_) return;
  emit titleChanged(QString::fromStdString("Telnet " + host_));
  Connect();
  (void)session_.CaptureTo(CaptureFilePath(state_.programFolder, site_, LocalTimeNow()));
}

void CFViewTelnetSession::Connect() {
  if (session_.state() != TelnetSession::State::Idle || byePause_.isActive()) return;
  journal_.Start(StartJournalRun(state_, RunKind::TelnetSession, Printf("Telnet Port=%d", site_.TelnetPort)), site_);
  watch_->Connect();
  ShowState();
  terminal_->setFocus();
}

void CFViewTelnetSession::Disconnect() {
  if (!session_.connected()) return;
  commands_->Stop();
  session_.SendBye();
  // The unit's goodbye is still read during the pause.
  watch_->Follow();
  byePause_.start();
  ShowState();
}

void CFViewTelnetSession::EndDisconnect() {
  session_.Close();
  watch_->Follow();
  ShowState();
  if (closeAfterDisconnect_) emit closeRequested();
}

void CFViewTelnetSession::ToggleConnection() {
  if (session_.connected())
    Disconnect();
  else
    Connect();
}

void CFViewTelnetSession::CloseView() {
  if (connected_) {
    if (!prompts_.Confirm(ConfirmMode::Terminate, Printf(kStillConnected, host_.c_str(), site_.TelnetPort))) return;
    closeAfterDisconnect_ = true;
    Disconnect();
    return;
  }
  emit closeRequested();
}

void CFViewTelnetSession::ShowState() {
  const bool idle = session_.state() == TelnetSession::State::Idle && !byePause_.isActive();
  const bool connected = session_.connected() && !byePause_.isActive();
  connect_->setEnabled(idle || connected);
  close_->setEnabled(!connected_);
  fileDisconnect_->setEnabled(connected);
  sessionDisconnect_->setEnabled(connected);
  sessionReconnect_->setEnabled(idle);
}

void CFViewTelnetSession::UseColors() {
  const TelnetColors& colors = state_.params.telnetColors;
  terminal_->SetColors(ColorFromRef(colors.textTelnet), ColorFromRef(colors.backTelnet));
  terminal_->SetLineNumberColors(ColorFromRef(colors.textLineNums), ColorFromRef(colors.backLineNums));
}

void CFViewTelnetSession::ChooseColors() {
  std::vector<PopupItem> items;
  for (std::size_t scheme = 0; scheme < kTelnetColorSchemes.size(); ++scheme)
    items.push_back({static_cast<int>(scheme) + 1, kTelnetColorSchemes[scheme].name});
  if (const int chosen = prompts_.ChooseFromPopup(items)) SetColorScheme(static_cast<std::size_t>(chosen) - 1);
}

void CFViewTelnetSession::SetColorScheme(std::size_t scheme) {
  TelnetColors& colors = state_.params.telnetColors;
  colors.textTelnet = kTelnetColorSchemes[scheme].text;
  colors.backTelnet = kTelnetColorSchemes[scheme].back;
  UseColors();
  IniSettingsFile ini(state_.programFolder);
  if (!ini.SaveTelnetColors(colors)) prompts_.ShowMessage(WriteFailedText(ini.Path().string()));
}

void CFViewTelnetSession::ChooseFontSize() {
  std::vector<PopupItem> items;
  for (int step = 0; step < static_cast<int>(std::size(kFontSteps)); ++step)
    items.push_back({step + 1, kFontSteps[step].text});
  const int chosen = prompts_.ChooseFromPopup(items);
  if (chosen == 0) return;
  fontHeight_ = std::max(kMinFontHeight, fontHeight_ + kFontSteps[chosen - 1].change);
  terminal_->SetFontHeight(fontHeight_);
}

void CFViewTelnetSession::ChooseClear() {
  switch (prompts_.ChooseFromPopup({{kClearScreen, "Clear Screen"}, {kClearBuffer, "Clear Buffer"}})) {
    case kClearScreen: terminal_->ClearScreen(); break;
    case kClearBuffer: terminal_->DeleteAllText(); break;
    default: break;
  }
}

void CFViewTelnetSession::ToggleEcho() {
  terminal_->SetLocalEcho(!terminal_->localEcho());
  echo_->setText(terminal_->localEcho() ? "ECHO is ON" : "ECHO is OFF");
}

void CFViewTelnetSession::RunCommandList(int list) {
  // The running list is not cut short by another: its remaining commands would be lost unseen.
  if (commands_->running()) {
    OnTerminalText(Printf("\r\nCommand list %d is still running\r\n", runningList_));
    return;
  }
  IniSettingsFile ini(state_.programFolder);
  std::vector<std::string> commands = LoadTelnetCommandList(ini, list);
  // A list goes out only on a connection.
  if (!session_.connected()) return;
  runningList_ = list;
  commands_->Start(std::move(commands));
}

void CFViewTelnetSession::SaveBuffer() {
  const std::optional<std::string> file = prompts_.ChooseFile(
      {FileDialogKind::Save, "Save Buffer to File", kTextFileFilter, "txt", DialogFolder(state_)});
  if (!file) return;
  if (const Result appended = AppendToTextFile(*file, terminal_->AllText()); !appended) {
    prompts_.ShowMessage(appended.reason());
    return;
  }
  desktop_.OpenInEditor(*file);
}

void CFViewTelnetSession::StartCapture() {
  const std::optional<std::string> file = prompts_.ChooseFile(
      {FileDialogKind::Save, "Start Capture File", kTextFileFilter, "txt", DialogFolder(state_)});
  // A file that cannot be opened is reported in the terminal.
  if (file) (void)session_.CaptureTo(*file);
}

void CFViewTelnetSession::ShowTerminalMenu() {
  if (terminal_->textCursor().hasSelection()) return;
  switch (prompts_.ChooseFromPopup({{kCopyAll, "Copy All Text to Clipboard"},
                                    {kSaveAll, "Save All Text to Text File ..."},
                                    {},
                                    {kTerminalClearScreen, "Clear Screen"},
                                    {kDeleteAll, "Delete All Text"}})) {
    case kCopyAll: terminal_->CopyAllText(); break;
    case kSaveAll: SaveBuffer(); break;
    case kTerminalClearScreen: terminal_->ClearScreen(); break;
    case kDeleteAll: terminal_->DeleteAllText(); break;
    default: break;
  }
}

void CFViewTelnetSession::Typed(char character, int repeatCount) {
  if (!session_.connected()) return;
  (void)session_.SendTyped(character, repeatCount);
  watch_->Follow();
}

bool CFViewTelnetSession::SendToUnit(const std::string& bytes) {
  const bool sent = session_.Send(bytes);
  // What the socket could not take yet goes out when it has room.
  watch_->Follow();
  return sent;
}

void CFViewTelnetSession::OnMainWindowClosing() {
  released_ = true;
  commands_->Finish();
  byePause_.stop();
  // The program ends: the unit is told, without the pause.
  session_.SendBye();
  session_.Close();
  watch_->Stop();
}

void CFViewTelnetSession::OnTerminalText(const std::string& text) {
  terminal_->AppendText(QString::fromStdString(Utf8FromWindows1252(text)));
}

void CFViewTelnetSession::OnConnectionChanged(bool connected) {
  connected_ = connected;
  if (journal_.OnConnectionChanged(connected, session_.connectError()) && !released_)
    TellJournalFailure(state_, prompts_);
  if (!connected) commands_->Stop();
  connect_->setText(connected ? "DIS-connect" : "RE-connect");
  ShowState();
}

}  // namespace quenderlink
