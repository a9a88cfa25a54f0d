#pragma once

#include <CLI/CLI.hpp>

#include "cli/CommandContext.h"

namespace quenderlink::cli {

// Commands that talk to units (or decode what they say).
void AddDecodeCommand(CLI::App& app, CommandContext& context);
void AddPingCommand(CLI::App& app, CommandContext& context);
void AddScanCommand(CLI::App& app, CommandContext& context);
void AddIcmpCommand(CLI::App& app, CommandContext& context);
void AddResetCommand(CLI::App& app, CommandContext& context);
void AddUploadCommand(CLI::App& app, CommandContext& context);
void AddTelnetCommand(CLI::App& app, CommandContext& context);
// Sites from a comma-separated file into a site list file (pinged first when asked).
void AddImportCommand(CLI::App& app, CommandContext& context);

}  // namespace quenderlink::cli
