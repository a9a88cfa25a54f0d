#pragma once

#include <optional>
#include <utility>

#include "upload/UploadListRun.h"
#include "upload/ui/MultiUploadView.h"

namespace quenderlink {

class SiteListView;
class UploadListModel;

// Uploads the program file to many highlighted sites at once and lists them,
// one row per unit with its latest step, the time of that step and the
// running totals. Each unit's new program answer is written into its record.
class CFViewUploadProgram : public MultiUploadView {
  Q_OBJECT

 public:
  CFViewUploadProgram(ProgramState& state, UserPrompts& prompts, MainViewTarget& mainView, QWidget* parent = nullptr);
  ~CFViewUploadProgram() override;

 protected:
  MultiUploadRun& run() override { return run_; }
  void MarkChanged(std::size_t place) override;
  void Refresh() override;

 private:
  UploadListRun run_;
  UploadListModel* model_;
  SiteListView* list_;
  // The rows changed since the last refresh, first and last.
  std::optional<std::pair<std::size_t, std::size_t>> changed_;
};

}  // namespace quenderlink
