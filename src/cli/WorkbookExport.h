#pragma once

#include <optional>
#include <string>

#include "core/ProgramState.h"

namespace quenderlink::cli {

// `sites export FILE --format xlsx`: the loaded table as a workbook at `out`,
// or time-stamped in the home; from `templateFile`, else from the home's
// template when there is one. Prints the path written; returns the exit code.
[[nodiscard]] int ExportWorkbook(const ProgramState& state, const std::optional<std::string>& out,
                                 const std::optional<std::string>& templateFile);

}  // namespace quenderlink::cli
