#include "journal/HistoryPeriod.h"

namespace quenderlink {
namespace {

constexpr std::int64_t kDayMs = 24 * 60 * 60 * 1000;

std::int64_t Days(HistoryPeriod period) {
  switch (period) {
    case HistoryPeriod::Day: return 1;
    case HistoryPeriod::Week: return 7;
    case HistoryPeriod::Month: return 30;
    case HistoryPeriod::Year: return 365;
  }
  return 1;
}

}  // namespace

const char* HistoryPeriodText(HistoryPeriod period) {
  switch (period) {
    case HistoryPeriod::Day: return "Day";
    case HistoryPeriod::Week: return "Week";
    case HistoryPeriod::Month: return "Month";
    case HistoryPeriod::Year: return "Year";
  }
  return "";
}

JournalPeriod PeriodEndingAt(HistoryPeriod period, std::int64_t now) {
  return {now - Days(period) * kDayMs, now + 1};
}

}  // namespace quenderlink
