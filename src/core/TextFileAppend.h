#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace quenderlink {

// Appends the text to the file, making its folder when missing; a text that
// cannot be written whole leaves the file as it was. Nothing when it was
// written; otherwise what the user is told: the file and the reason.
[[nodiscard]] std::optional<std::string> AppendToTextFile(const std::filesystem::path& file, const std::string& text);

}  // namespace quenderlink
