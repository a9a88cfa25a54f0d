#include "shell/ui/CQuenderlinkApp.h"

#include <QScreen>

#include "core/IniSettingsFile.h"
#include "core/SettingsKeys.h"
#include "journal/JournalFile.h"

namespace quenderlink {

// The signals are taken from the start, so that one sent while the program
// starts ends it as cleanly as one sent later. The exit code tells a script
// which signal ended the program, as a shell would.
CQuenderlinkApp::CQuenderlinkApp(int& argc, char** argv) : QApplication(argc, argv) {
  NameTheProgram();
  quitSignals_ = std::make_unique<QuitSignals>([this](int signalNumber) {
    signalledExitCode_ = 128 + signalNumber;
    if (frame_) frame_->ShutDown();
    exit(*signalledExitCode_);
  });
}

void CQuenderlinkApp::NameTheProgram() {
  setApplicationName("Quenderlink");
  setApplicationVersion("9.0");
}

// The frame goes first: its views still write their settings into the state's folder.
CQuenderlinkApp::~CQuenderlinkApp() { ExitInstance(); }

void CQuenderlinkApp::ExitInstance() {
  quitSignals_.reset();
  frame_.reset();
  prune_.reset();
  if (state_) state_->journal = nullptr;
  journal_.reset();
}

void CQuenderlinkApp::InitInstance(const std::filesystem::path& programFolder) {
  state_ = std::make_unique<ProgramState>(programFolder);
  IniSettingsFile ini(programFolder);
  ini.EnsureIniFile();
  state_->params.reduceHeight = static_cast<std::uint16_t>(ini.ReadInt(settings::kReduceHeight));
  journal_ = std::make_unique<Journal>(programFolder / kJournalFileName);
  state_->journal = journal_.get();

  frame_ = std::make_unique<CMainFrame>(*state_, prompts_, desktop_);
  if (const QScreen* screen = primaryScreen()) {
    frame_->ApplySizeRule(screen->geometry().height());
    // Also the size on a screen without a window manager, which cannot maximise.
    frame_->resize(screen->availableGeometry().size());
  }
  // The main view reads the settings, "Journal Days" among them.
  frame_->OpenMainView();
  prune_ = std::make_unique<BackgroundPrune>(*journal_, state_->params.journalDays);
  frame_->showMaximized();
}

int CQuenderlinkApp::Run() {
  // A signal handled before the loop ran asked a loop that was not there to end.
  if (signalledExitCode_) return *signalledExitCode_;
  return exec();
}

}  // namespace quenderlink
