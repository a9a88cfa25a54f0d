#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quenderlink {

// Journal times are milliseconds since 1970-01-01 UTC.
std::int64_t JournalNow();

// "2026-12-08T04:12:26Z", as the command line writes times.
std::string UtcTimeText(std::int64_t ms);
// "2026-12-08 05:12:26" in the local time zone, as windows show times.
std::string LocalTimeText(std::int64_t ms);

// An ISO 8601 date ("2026-12-08") or date and time ("2026-12-08T05:30",
// "2026-12-08T05:30:15", a space for the T too), local unless it ends in Z.
struct JournalDate {
  std::int64_t ms = 0;
  bool dateOnly = false;
};
std::optional<JournalDate> ParseJournalDate(std::string_view text);

// The first millisecond after a date given as an end: the next day for a date alone.
std::int64_t EndOfJournalDate(const JournalDate& date);

}  // namespace quenderlink
