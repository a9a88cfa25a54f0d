#pragma once

#include <filesystem>
#include <string>

#include "core/Result.h"

namespace quenderlink {

// Appends the text to the file, making its folder when missing; a text that
// cannot be written whole leaves the file as it was. A failure's reason is
// what the user is told: the file and why.
Result AppendToTextFile(const std::filesystem::path& file, const std::string& text);

}  // namespace quenderlink
