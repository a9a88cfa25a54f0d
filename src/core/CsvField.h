#pragma once

#include <string>
#include <string_view>

namespace quenderlink {

// A text as one comma-separated field: unchanged when it holds no comma, double
// quote or line break, else wrapped in double quotes with its own ones doubled.
std::string CsvField(std::string_view text);

}  // namespace quenderlink
