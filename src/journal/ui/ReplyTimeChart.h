#pragma once

#include <QChartView>

#include <vector>

#include "journal/HistoryPeriod.h"
#include "journal/ReplyChart.h"

namespace quenderlink {

// The history's chart: a line of reply times a site over the period's time
// axis, and the failures as red points on that axis.
class ReplyTimeChart : public QChartView {
  Q_OBJECT

 public:
  explicit ReplyTimeChart(QWidget* parent);

  void Show(const std::vector<SiteChart>& sites, HistoryPeriod period, const JournalPeriod& span);
};

}  // namespace quenderlink
