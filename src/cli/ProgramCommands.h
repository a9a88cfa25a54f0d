#pragma once

#include <CLI/CLI.hpp>

#include "cli/CommandContext.h"

namespace quenderlink::cli {

void AddProgramCommands(CLI::App& app, CommandContext& context);

}  // namespace quenderlink::cli
