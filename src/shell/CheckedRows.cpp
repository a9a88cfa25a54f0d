#include "shell/CheckedRows.h"

#include <algorithm>

#include "shell/SiteListColumns.h"

namespace quenderlink {

void CheckedRows::Reset(std::size_t rowCount) {
  ticked_.assign(rowCount, 0);
  checkedCount_ = 0;
  anchor_ = -1;
}

void CheckedRows::Append(std::size_t rowCount) { ticked_.resize(ticked_.size() + rowCount, 0); }

void CheckedRows::SetChecked(std::size_t row, bool checked) {
  if (row >= ticked_.size() || IsChecked(row) == checked) return;
  ticked_[row] = checked ? 1 : 0;
  if (checked) {
    ++checkedCount_;
  } else {
    --checkedCount_;
  }
}

std::optional<std::pair<std::size_t, std::size_t>> CheckedRows::ApplyClick(std::size_t row, int column, bool ctrl,
                                                                           bool shift) {
  if (row >= ticked_.size()) return std::nullopt;
  const int anchor = anchor_;
  anchor_ = static_cast<int>(row);

  if (ctrl) {
    if (column == kColCheck) return std::nullopt;
    Toggle(row);
    return std::pair{row, row};
  }
  if (column != kColCheck) return std::nullopt;
  if (shift && anchor >= 0 && static_cast<std::size_t>(anchor) < ticked_.size()) {
    const std::size_t first = std::min(row, static_cast<std::size_t>(anchor));
    const std::size_t last = std::max(row, static_cast<std::size_t>(anchor));
    bool anyUnticked = false;
    for (std::size_t i = first; i <= last && !anyUnticked; ++i) anyUnticked = !IsChecked(i);
    for (std::size_t i = first; i <= last; ++i) SetChecked(i, anyUnticked);
    return std::pair{first, last};
  }
  Toggle(row);
  return std::pair{row, row};
}

}  // namespace quenderlink
