#include "exchange/CellReference.h"

#include <charconv>

namespace quenderlink {

std::optional<CellReference> ParseCellReference(std::string_view text) {
  std::size_t at = 0;
  unsigned column = 0;
  for (; at < text.size() && text[at] >= 'A' && text[at] <= 'Z' && at < 3; ++at)
    column = column * 26 + static_cast<unsigned>(text[at] - 'A' + 1);
  unsigned row = 0;
  const std::from_chars_result parsed = std::from_chars(text.data() + at, text.data() + text.size(), row);
  if (column == 0 || row == 0 || parsed.ec != std::errc() || parsed.ptr != text.data() + text.size())
    return std::nullopt;
  return CellReference{column - 1, row - 1};
}

std::string CellReferenceText(CellReference reference) {
  std::string letters;
  for (unsigned column = reference.column + 1; column > 0; column = (column - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
  return letters + std::to_string(reference.row + 1);
}

}  // namespace quenderlink
