#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quenderlink {

// A cell's place on a sheet, both from 0; written "A1" for {0, 0}.
struct CellReference {
  unsigned column;
  unsigned row;
};

// None when the text is no plain "letters then row number" reference.
std::optional<CellReference> ParseCellReference(std::string_view text);
std::string CellReferenceText(CellReference reference);

}  // namespace quenderlink
