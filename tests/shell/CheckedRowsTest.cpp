#include "shell/CheckedRows.h"

#include <gtest/gtest.h>

#include "shell/SiteListColumns.h"

namespace quenderlink {
namespace {

using Range = std::optional<std::pair<std::size_t, std::size_t>>;

std::string Boxes(const CheckedRows& rows) {
  std::string boxes;
  for (std::size_t row = 0; row < rows.size(); ++row) boxes += rows.IsChecked(row) ? 'x' : '.';
  return boxes;
}

TEST(CheckedRows, CtrlTogglesAnyColumnButTheCheckBoxAndPlainClicksOnlyTheCheckBox) {
  CheckedRows rows;
  rows.Reset(4);
  EXPECT_EQ(rows.ApplyClick(1, kColSiteName, true, false), (Range{{1, 1}}));
  EXPECT_EQ(rows.ApplyClick(1, kColCheck, true, false), std::nullopt);
  EXPECT_EQ(rows.ApplyClick(2, kColSiteName, false, false), std::nullopt);
  EXPECT_EQ(rows.ApplyClick(3, kColCheck, false, false), (Range{{3, 3}}));
  EXPECT_EQ(Boxes(rows), ".x.x");
  EXPECT_EQ(rows.CountChecked(), 2u);
  // A new list forgets the anchor: Shift on the check box is a plain toggle again.
  rows.Reset(2);
  EXPECT_EQ(rows.ApplyClick(0, kColCheck, false, true), (Range{{0, 0}}));
}

TEST(CheckedRows, ShiftOnTheCheckBoxSetsTheRangeFromTheAnchorEitherWay) {
  CheckedRows rows;
  rows.Reset(6);
  EXPECT_EQ(rows.ApplyClick(4, kColCheck, false, true), (Range{{4, 4}}));  // no anchor yet: a plain toggle
  EXPECT_EQ(rows.ApplyClick(1, kColCheck, false, true), (Range{{1, 4}}));
  EXPECT_EQ(Boxes(rows), ".xxxx.");
  EXPECT_EQ(rows.ApplyClick(4, kColCheck, false, true), (Range{{1, 4}}));  // all ticked: all unticked
  EXPECT_EQ(rows.CountChecked(), 0u);
  // Shift away from the check box changes no box but moves the anchor.
  EXPECT_EQ(rows.ApplyClick(5, kColSiteName, false, true), std::nullopt);
  rows.SetChecked(4, true);
  EXPECT_EQ(rows.ApplyClick(3, kColCheck, false, true), (Range{{3, 5}}));
  EXPECT_EQ(Boxes(rows), "...xxx");
  EXPECT_EQ(rows.CountChecked(), 3u);
}

}  // namespace
}  // namespace quenderlink
