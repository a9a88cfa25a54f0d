#pragma once

#include <CLI/CLI.hpp>

#include "cli/CommandContext.h"

namespace quenderlink::cli {

// The commands that read and keep the journal of runs in the program folder.
void AddHistoryCommand(CLI::App& app, CommandContext& context);
void AddReportCommands(CLI::App& app, CommandContext& context);
void AddJournalCommands(CLI::App& app, CommandContext& context);

}  // namespace quenderlink::cli
