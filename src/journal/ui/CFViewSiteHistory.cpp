#include "journal/ui/CFViewSiteHistory.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "journal/Journal.h"
#include "journal/JournalFile.h"
#include "journal/JournalTime.h"
#include "journal/ui/HistoryModel.h"
#include "journal/ui/PeriodBox.h"
#include "journal/ui/ReplyTimeChart.h"
#include "prompts/ui/DialogWidgets.h"

namespace quenderlink {

CFViewSiteHistory::CFViewSiteHistory(ProgramState& state, std::vector<ListedSite> sites, QWidget* parent)
    : OperationView(parent),
      state_(state),
      sites_(std::move(sites)),
      period_(new PeriodBox(HistoryPeriod::Week, this)),
      chart_(new ReplyTimeChart(this)),
      model_(new HistoryModel(this)),
      list_(new QTableView(this)),
      status_(PlainLabel("", "journalStatus", this)) {
  list_->setObjectName("historyList");
  list_->setModel(model_);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->verticalHeader()->hide();
  list_->horizontalHeader()->setStretchLastSection(true);

  auto* reload = NamedButton("Reload", "reloadButton", this);
  auto* close = NamedButton("Close", "closeButton", this);
  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->addWidget(chart_);
  splitter->addWidget(list_);
  QLabel* periodLabel = PlainLabel("Chart over the last:", "periodLabel", this);
  periodLabel->setWordWrap(false);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(LeftPackedRow({periodLabel, period_, reload, close}));
  layout->addWidget(status_);
  layout->addWidget(splitter, 1);

  connect(period_, &PeriodBox::periodChanged, this, [this] { ShowChart(); });
  connect(reload, &QPushButton::clicked, this, [this] { Reload(); });
  connect(close, &QPushButton::clicked, this, &OperationView::closeRequested);
  Reload();
}

void CFViewSiteHistory::Reload() {
  // What this program's runs handed the journal is written before it is read.
  if (state_.journal != nullptr) state_.journal->Flush();
  JournalReader reader(state_.programFolder / kJournalFileName);
  status_->setText(reader.opened() ? QString() : QString::fromStdString(reader.opened().reason()));
  status_->setVisible(!reader.opened());
  history_.clear();
  for (const ListedSite& site : sites_) history_.push_back(reader.HistoryOfSite(site.key, JournalPeriod{}));
  model_->SetEntries(NewestFirst(history_));
  list_->resizeColumnsToContents();
  ShowChart();
}

void CFViewSiteHistory::ShowChart() {
  const HistoryPeriod period = period_->period();
  const JournalPeriod span = PeriodEndingAt(period, JournalNow());
  std::vector<SiteChart> charts;
  for (std::size_t site = 0; site < sites_.size(); ++site) {
    charts.push_back(ReplyChartOf(sites_[site].name, history_[site], span));
  }
  chart_->Show(charts, period, span);
}

}  // namespace quenderlink
