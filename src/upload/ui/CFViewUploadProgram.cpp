#include "upload/ui/CFViewUploadProgram.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "controls/ui/SiteListView.h"
#include "prompts/ui/DialogWidgets.h"
#include "upload/UploadListColumns.h"
#include "upload/ui/UploadListModel.h"

namespace quenderlink {

CFViewUploadProgram::CFViewUploadProgram(ProgramState& state, UserPrompts& prompts, MainViewTarget& mainView,
                                         QWidget* parent)
    : MultiUploadView(state, prompts, mainView, state.operations.uploadView, "Abort", parent),
      run_(state.sites, state.params),
      model_(new UploadListModel(run_, this)),
      list_(new SiteListView(this)) {
  list_->setObjectName("uploadList");
  list_->setModel(model_);
  list_->ApplyColumnWidths(UploadListColumnWidths());

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(headline(), 1);
  bottom->addWidget(abortButton());
  bottom->addWidget(closeButton());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(bottom);

  run_.FillList();
  model_->Refill();
  headline()->setText(DialogText(run_.tally().RunningHeadline()));
  ShowRunning(false);
  // Posted, so that the view is in its window, and its title connected, by then.
  QTimer::singleShot(0, this, [this] { emit titleChanged("Upload Program"); });
}

CFViewUploadProgram::~CFViewUploadProgram() { StopEngine(); }

void CFViewUploadProgram::MarkChanged(std::size_t place) {
  changed_ = changed_ ? std::pair(std::min(changed_->first, place), std::max(changed_->second, place))
                      : std::pair(place, place);
}

void CFViewUploadProgram::Refresh() {
  if (!changed_) return;
  model_->RowsChanged(changed_->first, changed_->second);
  changed_.reset();
}

}  // namespace quenderlink
