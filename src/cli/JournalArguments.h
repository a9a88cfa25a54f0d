#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "cli/ReportTable.h"
#include "core/ProgramState.h"
#include "journal/JournalReader.h"

namespace quenderlink::cli {

// The format --json and --csv ask for; kExitBadInput when both are given.
[[nodiscard]] int ChooseReportFormat(bool json, bool csv, ReportFormat& format);

// The period of --since and --until, each optional; an --until date without a
// time takes in that whole day. kExitBadInput for a date that is not ISO 8601.
[[nodiscard]] int ParsePeriod(const std::string& since, const std::string& until, JournalPeriod& period);

// The program folder's journal.
std::filesystem::path JournalFileOf(const ProgramState& state);

}  // namespace quenderlink::cli
