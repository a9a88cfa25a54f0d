#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace quenderlink {

// The check boxes of the main site list's rows and what a click does to them.
class CheckedRows {
 public:
  // rowCount rows, all unticked, and no anchor for a Shift click.
  void Reset(std::size_t rowCount);
  // Adds unticked rows at the end; the anchor stays.
  void Append(std::size_t rowCount);

  std::size_t size() const { return ticked_.size(); }
  bool IsChecked(std::size_t row) const { return row < ticked_.size() && ticked_[row] != 0; }
  void SetChecked(std::size_t row, bool checked);
  std::size_t CountChecked() const { return checkedCount_; }
  bool AnyChecked() const { return checkedCount_ != 0; }

  // A click on a cell: Ctrl toggles the row unless the click is on the check box
  // column; Shift on the check box column sets the rows from the anchor to this
  // one (all ticked when one of them is unticked, else all unticked); a click on
  // the check box column otherwise toggles it. Every click becomes the anchor.
  // Returns the first and last row whose box may have changed.
  std::optional<std::pair<std::size_t, std::size_t>> ApplyClick(std::size_t row, int column, bool ctrl, bool shift);

 private:
  void Toggle(std::size_t row) { SetChecked(row, !IsChecked(row)); }

  std::vector<std::uint8_t> ticked_;
  std::size_t checkedCount_ = 0;
  int anchor_ = -1;
};

}  // namespace quenderlink
