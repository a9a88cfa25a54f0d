#include "journal/ui/CFViewAvailability.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "core/AtomicFileWriter.h"
#include "core/DialogFolder.h"
#include "journal/Journal.h"
#include "journal/JournalFile.h"
#include "journal/JournalTime.h"
#include "journal/ui/AvailabilityModel.h"
#include "journal/ui/AvailabilityWorker.h"
#include "journal/ui/PeriodBox.h"
#include "prompts/FileDialogFilters.h"
#include "prompts/ui/DialogWidgets.h"

namespace quenderlink {

CFViewAvailability::CFViewAvailability(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop,
                                       std::vector<ListedSite> sites, QWidget* parent)
    : OperationView(parent),
      state_(state),
      prompts_(prompts),
      desktop_(desktop),
      sites_(std::move(sites)),
      period_(new PeriodBox(HistoryPeriod::Month, this)),
      model_(new AvailabilityModel(this)),
      worker_(new AvailabilityWorker(
          state.programFolder / kJournalFileName,
          [this](std::vector<AvailabilityRow> rows, const std::string& failure) {
            model_->SetRows(std::move(rows));
            ShowRows(failure);
          },
          this)),
      list_(new QTableView(this)),
      status_(PlainLabel("", "availabilityStatus", this)),
      export_(NamedButton("Export CSV...", "exportButton", this)) {
  list_->setObjectName("availabilityList");
  list_->setModel(model_);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->verticalHeader()->hide();
  list_->horizontalHeader()->setStretchLastSection(true);
  // The list's own order until a header is clicked.
  list_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  list_->setSortingEnabled(true);

  auto* close = NamedButton("Close", "closeButton", this);
  QLabel* periodLabel = PlainLabel("Pings over the last:", "periodLabel", this);
  periodLabel->setWordWrap(false);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(LeftPackedRow({periodLabel, period_, export_, close}));
  layout->addWidget(status_);
  layout->addWidget(list_, 1);

  connect(period_, &PeriodBox::periodChanged, this, [this] { Count(); });
  connect(export_, &QPushButton::clicked, this, [this] { Export(); });
  connect(close, &QPushButton::clicked, this, &OperationView::closeRequested);
  Count();
}

bool CFViewAvailability::counting() const { return worker_->running(); }

void CFViewAvailability::Count() {
  // What this program's runs handed the journal is written before it is read.
  if (state_.journal != nullptr) state_.journal->Flush();
  export_->setEnabled(false);
  status_->setText(QString("Counting the pings of %1 sites...").arg(sites_.size()));
  worker_->Start(sites_, PeriodEndingAt(period_->period(), JournalNow()));
}

void CFViewAvailability::ShowRows(const std::string& failure) {
  std::size_t down = 0;
  for (const AvailabilityRow& row : model_->rows()) down += row.figures.downSince ? 1 : 0;
  status_->setText(failure.empty() ? QString("%1 sites, %2 down").arg(model_->rows().size()).arg(down)
                                   : QString::fromStdString(failure));
  list_->resizeColumnsToContents();
  export_->setEnabled(true);
}

void CFViewAvailability::Export() {
  const std::optional<std::string> path = prompts_.ChooseFile({.kind = FileDialogKind::Save,
                                                                .title = "Export Availability",
                                                                .filter = kCsvExportFilter,
                                                                .defaultExtension = "csv",
                                                                .folder = DialogFolder(state_)});
  if (!path) return;
  if (!WriteFileAtomically(*path, AvailabilityCsv(model_->rows()))) {
    prompts_.ShowMessage("The availability could not be written to\n" + *path);
    return;
  }
  ShowAndOpenSavedFile(*path, prompts_, desktop_);
}

}  // namespace quenderlink
