#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quenderlink {

// The import log stays short enough to scroll: past this many characters the
// oldest kImportLogDrop go before anything more is added.
inline constexpr std::size_t kImportLogLimit = 61440;
inline constexpr std::size_t kImportLogDrop = 10240;

// Adds a text at the end of the log, after dropping its start when it is full.
void AppendToImportLog(std::string& log, std::string_view text);

}  // namespace quenderlink
