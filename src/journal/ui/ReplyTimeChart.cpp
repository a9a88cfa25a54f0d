#include "journal/ui/ReplyTimeChart.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>

namespace quenderlink {
namespace {

// Room above the slowest answer, and the scale of a chart without answers.
constexpr double kHeadroom = 1.15;
constexpr int kEmptyScaleMs = 100;
constexpr qreal kFailureMarkSize = 9.0;

const char* TimeFormat(HistoryPeriod period) {
  switch (period) {
    case HistoryPeriod::Day: return "HH:mm";
    case HistoryPeriod::Week:
    case HistoryPeriod::Month: return "MMM d";
    case HistoryPeriod::Year: return "MMM yyyy";
  }
  return "MMM d";
}

}  // namespace

ReplyTimeChart::ReplyTimeChart(QWidget* parent) : QChartView(parent) {
  setObjectName("replyChart");
  setRenderHint(QPainter::Antialiasing);
  setMinimumHeight(220);
}

void ReplyTimeChart::Show(const std::vector<SiteChart>& sites, HistoryPeriod period, const JournalPeriod& span) {
  auto* chart = new QChart();
  chart->legend()->setAlignment(Qt::AlignBottom);
  auto* time = new QDateTimeAxis(chart);
  time->setFormat(TimeFormat(period));
  time->setRange(QDateTime::fromMSecsSinceEpoch(span.since), QDateTime::fromMSecsSinceEpoch(span.until));
  time->setTickCount(8);
  auto* reply = new QValueAxis(chart);
  reply->setTitleText("Reply (ms)");
  reply->setLabelFormat("%d");
  chart->addAxis(time, Qt::AlignBottom);
  chart->addAxis(reply, Qt::AlignLeft);

  int slowest = 0;
  auto* failures = new QScatterSeries(chart);
  failures->setName("Failed");
  failures->setColor(Qt::red);
  failures->setBorderColor(Qt::red);
  failures->setMarkerSize(kFailureMarkSize);
  for (const SiteChart& site : sites) {
    auto* line = new QLineSeries(chart);
    line->setName(QString::fromStdString(site.name));
    line->setPointsVisible(true);
    for (const ChartPoint& point : site.replies) {
      line->append(static_cast<qreal>(point.time), point.replyMs);
      slowest = std::max(slowest, point.replyMs);
    }
    for (const std::int64_t failed : site.failures) failures->append(static_cast<qreal>(failed), 0);
    chart->addSeries(line);
    line->attachAxis(time);
    line->attachAxis(reply);
  }
  chart->addSeries(failures);
  failures->attachAxis(time);
  failures->attachAxis(reply);
  reply->setRange(0, slowest > 0 ? slowest * kHeadroom : kEmptyScaleMs);
  reply->applyNiceNumbers();

  QChart* old = this->chart();
  setChart(chart);
  delete old;
}

}  // namespace quenderlink
