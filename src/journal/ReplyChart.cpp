#include "journal/ReplyChart.h"

#include <algorithm>
#include <utility>

namespace quenderlink {
namespace {

// The mean of the points in each of `spans` equal spans of the period, at the span's middle.
std::vector<ChartPoint> SpanMeans(const std::vector<ChartPoint>& points, const JournalPeriod& period,
                                  std::size_t spans) {
  const std::int64_t width = std::max<std::int64_t>(1, (period.until - period.since) / static_cast<std::int64_t>(spans));
  std::vector<ChartPoint> means;
  std::size_t first = 0;
  while (first < points.size()) {
    const std::int64_t span = (points[first].time - period.since) / width;
    std::int64_t sum = 0;
    std::size_t last = first;
    for (; last < points.size() && (points[last].time - period.since) / width == span; ++last) sum += points[last].replyMs;
    const auto count = static_cast<std::int64_t>(last - first);
    means.push_back({period.since + span * width + width / 2, static_cast<int>(sum / count)});
    first = last;
  }
  return means;
}

}  // namespace

bool IsChartFailure(ResultOutcome outcome) {
  return outcome == ResultOutcome::NoAnswer || outcome == ResultOutcome::BadAddress ||
         outcome == ResultOutcome::UploadFailed;
}

SiteChart ReplyChartOf(std::string name, const std::vector<HistoryEntry>& entries, const JournalPeriod& period,
                       std::size_t maxPoints) {
  SiteChart chart{std::move(name), {}, {}};
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    if (entry->time < period.since || entry->time >= period.until) continue;
    if (IsChartFailure(entry->result.outcome)) {
      chart.failures.push_back(entry->time);
    } else if (entry->result.outcome == ResultOutcome::Answered && entry->result.replyMs >= 0) {
      chart.replies.push_back({entry->time, entry->result.replyMs});
    }
  }
  if (maxPoints > 0 && chart.replies.size() > maxPoints) chart.replies = SpanMeans(chart.replies, period, maxPoints);
  return chart;
}

}  // namespace quenderlink
