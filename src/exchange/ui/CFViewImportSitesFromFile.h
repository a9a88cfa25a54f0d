#pragma once

#include <QTimer>

#include <optional>
#include <string>

#include "controls/ui/OperationView.h"
#include "core/ProgramState.h"
#include "core/UserPrompts.h"
#include "core/ViewWindow.h"
#include "exchange/SiteImport.h"
#include "journal/JournalPingRecorder.h"
#include "net/EngineRequest.h"
#include "net/PingEngineListener.h"
#include "workers/ui/BlockingPingListener.h"
#include "workers/ui/EngineRun.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace quenderlink {

class ImportListModel;
class SiteListView;

// Turns a comma-separated file into sites: the user picks the file and the
// columns of address, port and name, imports it into a list, corrects cells,
// pings every row with the site engine on a worker thread and saves the rows
// (all, or those that answered) to the current site list or a new one. What the
// lines and notifications do is the SiteImport's; the view shows it.
class CFViewImportSitesFromFile : public OperationView, public ViewWindow, private PingEngineListener {
  Q_OBJECT

 public:
  CFViewImportSitesFromFile(ProgramState& state, UserPrompts& prompts, MainViewTarget& mainView,
                            QWidget* parent = nullptr);
  // A ping still going is stopped and its engine waited for.
  ~CFViewImportSitesFromFile() override;

  void OnMainWindowClosing() override;

 private:
  enum class Phase { Select, List };

  QLayout* BuildSelectControls();
  QLayout* BuildListButtons();
  void Browse();
  void Import();
  void PingAll();
  void AbortPing();
  void Save();
  void SaveInNewFile(bool successfulOnly);
  void AppendToCurrentFile(bool successfulOnly);
  void Redo();
  void EndRun();
  void StopEngine();
  void Tick();
  void ShowPhase(Phase phase);
  void ShowButtons();
  void ShowTotals();
  void ShowLog();
  [[nodiscard]] bool RefuseImport(const std::string& path, const ImportFileText& file, const ImportColumns& columns);

  void OnPingSent(std::size_t id, int tries) override;
  void OnPingReply(std::size_t id, const ReplyNotice& notice) override;
  void OnPingTimeout(std::size_t id, int tries) override;
  void OnPingFailed(std::size_t id, int tries) override;
  void OnPingStarted() override;
  void OnPingFinished() override;
  void OnPingBadAddress(std::uint16_t row) override;
  void OnResetConfirmed(std::uint16_t row, const ReplyNotice& notice) override;
  void OnEngineMessage(const std::string& text) override;

  ProgramState& state_;
  UserPrompts& prompts_;
  MainViewTarget& mainView_;
  SiteImport import_;
  EngineRequest request_;
  BlockingPingListener engineListener_;
  // The engine's listener while a ping lasts: journals each result on the way to the view.
  std::optional<JournalPingRecorder> journal_;
  ImportListModel* model_;
  SiteListView* list_;
  QLineEdit* fileEdit_ = nullptr;
  QComboBox* ipColumn_ = nullptr;
  QComboBox* portColumn_ = nullptr;
  QComboBox* nameColumn_ = nullptr;
  QPushButton* browse_ = nullptr;
  QPushButton* importButton_ = nullptr;
  QPlainTextEdit* sampleBox_;
  QLabel* header_;
  QLabel* totals_;
  QPushButton* pingAll_ = nullptr;
  QPushButton* abortPing_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* redo_ = nullptr;
  QPushButton* close_ = nullptr;
  QTimer progressTimer_;
  std::string log_;
  Phase phase_ = Phase::Select;
  EngineRun engine_;
  bool registered_ = false;
  // The view or the program is closing: a ping ending now tells nobody.
  bool closing_ = false;
};

}  // namespace quenderlink
