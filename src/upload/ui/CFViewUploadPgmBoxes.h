#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "upload/UploadBoxesRun.h"
#include "upload/ui/MultiUploadView.h"

class QPushButton;

namespace quenderlink {

class LogBox;

// Uploads the program file to 2 to 16 highlighted sites at once and gives each
// unit a box of its own: a caption button and the log of its steps. A click on
// a caption shows that box alone; another click brings the grid back.
class CFViewUploadPgmBoxes : public MultiUploadView {
  Q_OBJECT

 public:
  CFViewUploadPgmBoxes(ProgramState& state, UserPrompts& prompts, MainViewTarget& mainView, QWidget* parent = nullptr);
  ~CFViewUploadPgmBoxes() override;

 protected:
  MultiUploadRun& run() override { return run_; }
  void MarkChanged(std::size_t place) override;
  void Refresh() override;
  void ShowRunning(bool running) override;

 private:
  struct Box {
    QWidget* frame;
    QPushButton* caption;
    LogBox* log;
    // Lines written since the last refresh.
    std::vector<std::pair<LogClass, std::string>> pending;
    bool changed = false;
    // Repainting a log in a new colour lays its text out again: only on a new mark.
    BoxMark shownMark = BoxMark::None;
  };

  void BuildBoxes();
  void ToggleEnlarged(std::size_t box);

  UploadBoxesRun run_;
  std::vector<Box> boxes_;
  std::optional<std::size_t> enlarged_;
  QWidget* boxArea_;
  QPushButton* picture_;
};

}  // namespace quenderlink
