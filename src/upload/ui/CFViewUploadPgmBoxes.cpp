#include "upload/ui/CFViewUploadPgmBoxes.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "controls/ui/LogBox.h"
#include "prompts/ui/DialogWidgets.h"

namespace quenderlink {
namespace {

QColor MarkColor(BoxMark mark) {
  switch (mark) {
    case BoxMark::Failed: return QColor(255, 204, 204);
    case BoxMark::Good: return QColor(204, 255, 204);
    case BoxMark::None: break;
  }
  return QColor(Qt::white);
}

QFont LogFont(std::size_t boxCount) {
  const BoxFont chosen = BoxFontFor(boxCount);
  QFont font("Courier New");
  font.setStyleHint(QFont::Monospace);
  font.setPixelSize(chosen.height);
  font.setBold(chosen.bold);
  return font;
}

}  // namespace

CFViewUploadPgmBoxes::CFViewUploadPgmBoxes(ProgramState& state, UserPrompts& prompts, MainViewTarget& mainView,
                                           QWidget* parent)
    : MultiUploadView(state, prompts, mainView, state.operations.uploadBoxesView, "Cancel", parent),
      run_(state.sites, state.params,
           [this](std::size_t box, LogClass kind, const std::string& text) {
             boxes_[box].pending.emplace_back(kind, text);
           }),
      boxArea_(new QWidget(this)),
      picture_(NamedButton({}, "pictureButton", this)) {
  picture_->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
  picture_->setFlat(true);

  run_.FillBoxes();
  BuildBoxes();

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(headline(), 1);
  bottom->addWidget(picture_);
  bottom->addWidget(abortButton());
  bottom->addWidget(closeButton());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(boxArea_, 1);
  layout->addLayout(bottom);

  headline()->setText(DialogText(run_.tally().RunningHeadline()));
  ShowRunning(false);
  // Posted, so that the view is in its window, and its title connected, by then.
  QTimer::singleShot(0, this, [this] { emit titleChanged("Upload Program"); });
}

CFViewUploadPgmBoxes::~CFViewUploadPgmBoxes() { StopEngine(); }

void CFViewUploadPgmBoxes::BuildBoxes() {
  const std::size_t count = run_.boxes().size();
  const int columns = BoxGridColumns(count);
  const QFont font = LogFont(count);
  auto* grid = new QGridLayout(boxArea_);
  grid->setContentsMargins(0, 0, 0, 0);
  for (std::size_t index = 0; index < count; ++index) {
    Box box{new QWidget(boxArea_), nullptr, nullptr, {}, false, BoxMark::None};
    box.caption = new QPushButton(QString::fromStdString(run_.boxes()[index].caption), box.frame);
    box.caption->setObjectName(QString("boxCaption%1").arg(index));
    box.log = new LogBox(box.frame);
    box.log->setObjectName(QString("boxLog%1").arg(index));
    box.log->setFont(font);
    auto* inner = new QVBoxLayout(box.frame);
    inner->setContentsMargins(2, 2, 2, 2);
    inner->addWidget(box.caption);
    inner->addWidget(box.log, 1);
    const int slot = static_cast<int>(index);
    grid->addWidget(box.frame, slot / columns, slot % columns);
    connect(box.caption, &QPushButton::clicked, this, [this, index] { ToggleEnlarged(index); });
    boxes_.push_back(box);
  }
}

void CFViewUploadPgmBoxes::ToggleEnlarged(std::size_t box) {
  enlarged_ = enlarged_ ? std::nullopt : std::optional<std::size_t>(box);
  for (std::size_t index = 0; index < boxes_.size(); ++index)
    boxes_[index].frame->setVisible(!enlarged_ || *enlarged_ == index);
}

void CFViewUploadPgmBoxes::MarkChanged(std::size_t place) { boxes_[place].changed = true; }

void CFViewUploadPgmBoxes::Refresh() {
  for (std::size_t index = 0; index < boxes_.size(); ++index) {
    Box& box = boxes_[index];
    if (!box.changed) continue;
    box.changed = false;
    box.log->AppendAll(box.pending);
    box.pending.clear();
    const UploadBox& shown = run_.boxes()[index];
    box.caption->setText(QString::fromStdString(shown.caption));
    if (shown.mark == box.shownMark) continue;
    box.shownMark = shown.mark;
    QPalette palette = box.log->palette();
    palette.setColor(QPalette::Base, MarkColor(shown.mark));
    box.log->setPalette(palette);
  }
}

void CFViewUploadPgmBoxes::ShowRunning(bool running) {
  MultiUploadView::ShowRunning(running);
  picture_->setVisible(!running && started());
}

}  // namespace quenderlink
