#include "cli/JournalArguments.h"

#include "cli/CommandContext.h"
#include "journal/JournalFile.h"
#include "journal/JournalTime.h"

namespace quenderlink::cli {

int ChooseReportFormat(bool json, bool csv, ReportFormat& format) {
  if (json && csv) return BadInput("choose one of --json and --csv");
  format = json ? ReportFormat::Json : csv ? ReportFormat::Csv : ReportFormat::Table;
  return kExitOk;
}

int ParsePeriod(const std::string& since, const std::string& until, JournalPeriod& period) {
  const std::string form = " takes an ISO 8601 date like 2026-12-08 or 2026-12-08T05:30 (Z at the end for UTC), not ";
  if (!since.empty()) {
    const std::optional<JournalDate> date = ParseJournalDate(since);
    if (!date) return BadInput("--since" + form + "\"" + since + "\"");
    period.since = date->ms;
  }
  if (!until.empty()) {
    const std::optional<JournalDate> date = ParseJournalDate(until);
    if (!date) return BadInput("--until" + form + "\"" + until + "\"");
    period.until = EndOfJournalDate(*date);
  }
  return kExitOk;
}

std::filesystem::path JournalFileOf(const ProgramState& state) { return state.programFolder / kJournalFileName; }

}  // namespace quenderlink::cli
