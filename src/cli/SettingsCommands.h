#pragma once

#include <CLI/CLI.hpp>

#include "cli/CommandContext.h"

namespace quenderlink::cli {

void AddSettingsCommands(CLI::App& app, CommandContext& context);

}  // namespace quenderlink::cli
