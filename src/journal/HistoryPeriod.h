#pragma once

#include <array>
#include <cstdint>

#include "journal/JournalReader.h"

namespace quenderlink {

// The spans the history's chart and the availability view look back over.
enum class HistoryPeriod : std::uint8_t { Day, Week, Month, Year };

inline constexpr std::array<HistoryPeriod, 4> kHistoryPeriods{HistoryPeriod::Day, HistoryPeriod::Week,
                                                              HistoryPeriod::Month, HistoryPeriod::Year};

// "Day", "Week", "Month", "Year".
const char* HistoryPeriodText(HistoryPeriod period);

// The last 24 hours, 7, 30 or 365 days up to `now` (journal milliseconds), `now` included.
JournalPeriod PeriodEndingAt(HistoryPeriod period, std::int64_t now);

}  // namespace quenderlink
