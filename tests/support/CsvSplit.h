#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quenderlink::testing {

// The fields of one comma-separated line, as a spreadsheet reads them: a field
// in double quotes may hold commas, and a doubled quote inside stands for one.
inline std::vector<std::string> SplitCsvLine(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

}  // namespace quenderlink::testing
