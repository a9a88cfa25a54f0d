#pragma once

#include <QApplication>

#include <filesystem>
#include <memory>
#include <optional>

#include "core/ProgramState.h"
#include "journal/BackgroundPrune.h"
#include "journal/Journal.h"
#include "shell/ui/CMainFrame.h"
#include "shell/ui/DesktopOpener.h"
#include "prompts/ui/DialogPrompts.h"
#include "shell/ui/QuitSignals.h"

namespace quenderlink {

// The desktop program: makes the program-wide state with its journal, the
// main window and its first view.
class CQuenderlinkApp : public QApplication {
  Q_OBJECT

 public:
  CQuenderlinkApp(int& argc, char** argv);
  ~CQuenderlinkApp() override;

  // The name and version that --version and the windows show; also set before any
  // application object exists, for --help and --version without a display.
  static void NameTheProgram();

  // Prepares the settings file, opens the journal, builds the main window and
  // opens the site list in it; the window is shown maximised. The journal's
  // old results are pruned meanwhile.
  void InitInstance(const std::filesystem::path& programFolder);
  // The event loop until the program ends; its exit code. A stop signal that
  // came while the program was starting ends it at once.
  int Run();
  // The main window and its views go, their settings written, then the
  // journal, what is queued written, while the program folder is still there.
  void ExitInstance();

  CMainFrame* mainFrame() const { return frame_.get(); }
  ProgramState* state() const { return state_.get(); }

 private:
  std::unique_ptr<ProgramState> state_;
  // Outlives every window, whose runs write into it.
  std::unique_ptr<Journal> journal_;
  std::unique_ptr<BackgroundPrune> prune_;
  DialogPrompts prompts_{nullptr};
  DesktopOpener desktop_{prompts_};
  std::unique_ptr<CMainFrame> frame_;
  std::unique_ptr<QuitSignals> quitSignals_;
  std::optional<int> signalledExitCode_;
};

}  // namespace quenderlink
