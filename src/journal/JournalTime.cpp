#include "journal/JournalTime.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace quenderlink {

namespace {

constexpr std::int64_t kDayMs = 24LL * 60 * 60 * 1000;

std::string Formatted(std::int64_t ms, bool utc, const char* format) {
  const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
  std::tm parts{};
  if (utc) {
    gmtime_r(&seconds, &parts);
  } else {
    localtime_r(&seconds, &parts);
  }
  char text[40];
  std::strftime(text, sizeof text, format, &parts);
  return text;
}

}  // namespace

std::int64_t JournalNow() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::string UtcTimeText(std::int64_t ms) { return Formatted(ms, true, "%Y-%m-%dT%H:%M:%SZ"); }

std::string LocalTimeText(std::int64_t ms) { return Formatted(ms, false, "%Y-%m-%d %H:%M:%S"); }

std::optional<JournalDate> ParseJournalDate(std::string_view text) {
  std::tm parts{};
  int consumed = 0;
  const std::string copy(text);
  if (std::sscanf(copy.c_str(), "%4d-%2d-%2d%n", &parts.tm_year, &parts.tm_mon, &parts.tm_mday, &consumed) != 3 ||
      consumed != 10) {
    return std::nullopt;
  }
  std::string_view rest = text.substr(10);
  const bool dateOnly = rest.empty();
  if (!dateOnly) {
    if (rest[0] != 'T' && rest[0] != ' ') return std::nullopt;
    const std::string time(rest.substr(1));
    int timeConsumed = 0;
    if (std::sscanf(time.c_str(), "%2d:%2d%n", &parts.tm_hour, &parts.tm_min, &timeConsumed) != 2 ||
        timeConsumed != 5) {
      return std::nullopt;
    }
    rest = rest.substr(1 + 5);
    if (!rest.empty() && rest[0] == ':') {
      const std::string secondsText(rest.substr(1));
      int secondsConsumed = 0;
      if (std::sscanf(secondsText.c_str(), "%2d%n", &parts.tm_sec, &secondsConsumed) != 1 || secondsConsumed != 2) {
        return std::nullopt;
      }
      rest = rest.substr(3);
    }
  }
  const bool utc = rest == "Z";
  if (!rest.empty() && !utc) return std::nullopt;
  if (parts.tm_mon < 1 || parts.tm_mon > 12 || parts.tm_mday < 1 || parts.tm_mday > 31 || parts.tm_hour > 23 ||
      parts.tm_min > 59 || parts.tm_sec > 60 || parts.tm_year < 1970) {
    return std::nullopt;
  }
  const int day = parts.tm_mday;
  parts.tm_year -= 1900;
  parts.tm_mon -= 1;
  parts.tm_isdst = -1;
  const std::time_t seconds = utc ? timegm(&parts) : std::mktime(&parts);
  // mktime and timegm move 31 February to March: such a date does not exist.
  if (seconds == static_cast<std::time_t>(-1) || parts.tm_mday != day) return std::nullopt;
  return JournalDate{static_cast<std::int64_t>(seconds) * 1000, dateOnly};
}

std::int64_t EndOfJournalDate(const JournalDate& date) {
  // A whole day later in the calendar: across a clock change that is not 24 hours.
  if (!date.dateOnly) return date.ms + 1;
  const std::time_t seconds = static_cast<std::time_t>(date.ms / 1000);
  std::tm parts{};
  localtime_r(&seconds, &parts);
  parts.tm_mday += 1;
  parts.tm_isdst = -1;
  const std::time_t next = std::mktime(&parts);
  return next == static_cast<std::time_t>(-1) ? date.ms + kDayMs : static_cast<std::int64_t>(next) * 1000;
}

}  // namespace quenderlink
