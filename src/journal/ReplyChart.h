#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "journal/JournalReader.h"

namespace quenderlink {

struct ChartPoint {
  std::int64_t time = 0;
  int replyMs = 0;
};

// One site's line on the history's chart, oldest first: its answered pings'
// reply times, and the times it failed (no answer, bad address, failed upload).
struct SiteChart {
  std::string name;
  std::vector<ChartPoint> replies;
  std::vector<std::int64_t> failures;
};

// More answers than this in the period are drawn as the mean of equal spans of
// it, so that a year of a site pinged every few minutes stays a readable line.
inline constexpr std::size_t kMaxChartPoints = 400;

bool IsChartFailure(ResultOutcome outcome);

// The chart of a site's results (newest first, as the journal gives them) within `period`.
SiteChart ReplyChartOf(std::string name, const std::vector<HistoryEntry>& entries, const JournalPeriod& period,
                       std::size_t maxPoints = kMaxChartPoints);

}  // namespace quenderlink
