#pragma once

#include <filesystem>
#include <vector>

#include "controls/ui/OperationView.h"
#include "core/ProgramState.h"
#include "journal/HistoryPeriod.h"
#include "journal/ListedSite.h"

class QLabel;
class QTableView;

namespace quenderlink {

class HistoryModel;
class PeriodBox;
class ReplyTimeChart;

// The history of one or more listed sites as the journal holds it: their
// results newest first, and a chart of reply times over the chosen period with
// the failures marked, a line a site. The list shows all their results, the
// period chooses what the chart shows.
class CFViewSiteHistory : public OperationView {
  Q_OBJECT

 public:
  CFViewSiteHistory(ProgramState& state, std::vector<ListedSite> sites, QWidget* parent = nullptr);

  // Reads the journal again: the results of runs since it was opened show.
  void Reload();

 private:
  void ShowChart();

  ProgramState& state_;
  std::vector<ListedSite> sites_;
  // Each site's results, newest first, as last read.
  std::vector<std::vector<HistoryEntry>> history_;
  PeriodBox* period_;
  ReplyTimeChart* chart_;
  HistoryModel* model_;
  QTableView* list_;
  // Why the journal could not be read, when it could not.
  QLabel* status_;
};

}  // namespace quenderlink
