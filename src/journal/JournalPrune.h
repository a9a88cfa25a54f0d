#pragma once

#include <cstdint>
#include <filesystem>

#include "core/Result.h"

namespace quenderlink {

// "Journal Days": results older than this are pruned when the desktop program starts.
inline constexpr int kDefaultJournalDays = 730;

struct PruneOutcome {
  Result result;
  std::int64_t resultsRemoved = 0;
};

// Removes the results older than `days` days before `now` (milliseconds since
// 1970 UTC) and the runs that ended before then.
PruneOutcome PruneJournal(const std::filesystem::path& file, int days, std::int64_t now);

}  // namespace quenderlink
