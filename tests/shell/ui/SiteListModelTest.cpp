#include "shell/ui/SiteListModel.h"

#include <gtest/gtest.h>

#include <QBrush>
#include <QSignalSpy>

#include "core/FixedText.h"
#include "core/Lookups.h"
#include "shell/SiteListColumns.h"
#include "support/DialogTesting.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

using testing::TestSite;

class SiteListModelTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureApplication(); }

  SiteListModelTest() {
    state_.params.deviceColors.textRkm = 0x00332211;  // red 0x11, green 0x22, blue 0x33
    state_.params.deviceColors.backRkm = 0x00665544;
    state_.sites.Replace({TestSite({.row = 1, .product = kProductRkm, .lastPing = kLastPingNoAnswer}),
                          TestSite({.row = 2}), TestSite({.row = 3, .lastPing = 15})});
    testing::CheckModelThroughout(model_);
    model_.Refill();
  }

  QColor Color(int row, int column, int role) const {
    return model_.data(model_.index(row, column), role).value<QBrush>().color();
  }
  bool Checked(int row) const {
    return model_.data(model_.index(row, kColCheck), Qt::CheckStateRole).toInt() == Qt::Checked;
  }

  ProgramState state_{"/nonexistent"};
  SiteListModel model_{state_};
};

TEST_F(SiteListModelTest, KeepsItsInvariantsThroughRewriteAppendRecolourAndClear) {
  ASSERT_EQ(model_.rowCount(), 3);
  EXPECT_TRUE(model_.data(model_.index(0, kColPing), SiteListModel::kCellButtonRole).toBool());

  QSignalSpy changed(&model_, &QAbstractItemModel::dataChanged);
  state_.sites[2].RowNumber = 30;
  model_.RewriteRow(2);
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed[0][0].toModelIndex().row(), 2);
  EXPECT_EQ(model_.RowNumberAt(2), 30);

  model_.SetChecked(1, true);
  model_.RewriteAllRows();
  std::vector<SiteRecord> grown(state_.sites.records().begin(), state_.sites.records().end());
  grown.push_back(TestSite({.row = 4, .product = kProductCollector}));
  state_.sites.Replace(std::move(grown));
  model_.AppendRows();
  EXPECT_TRUE(Checked(1));
  EXPECT_FALSE(Checked(3));
  model_.SetChecked(3, true);
  EXPECT_TRUE(Checked(3)) << "an appended row has a box of its own";

  model_.Recolour();
  state_.sites.Release();  // the table goes before the list when the program closes
  model_.RewriteRow(0);
  model_.Clear();
}

// A run writes into the table while it lasts; the list changes only when its rows are written.
TEST_F(SiteListModelTest, RowsShowTheirColoursAndRecordsAsLastWritten) {
  // Which colours each product and Last Ping get, written and recoloured, is SiteRowColors'.
  EXPECT_EQ(Color(0, kColSiteName, Qt::ForegroundRole), QColor(0x11, 0x22, 0x33));
  EXPECT_EQ(Color(0, kColSiteName, Qt::BackgroundRole), QColor(0x44, 0x55, 0x66));
  EXPECT_EQ(Color(0, kColLastPing, Qt::BackgroundRole), QColor(0x80, 0, 0));
  model_.Recolour();
  EXPECT_EQ(Color(0, kColLastPing, Qt::BackgroundRole), QColor(0x44, 0x55, 0x66));
  model_.RewriteRow(0);
  EXPECT_EQ(Color(0, kColLastPing, Qt::BackgroundRole), QColor(0x80, 0, 0));

  state_.sites[0].LastPing = kLastPingUserAbort;
  EXPECT_EQ(model_.data(model_.index(0, kColLastPing)).toString(), "Ping Failed");
  model_.RewriteAllRows();
  EXPECT_EQ(model_.data(model_.index(0, kColLastPing)).toString(), "User Abort");
}

TEST_F(SiteListModelTest, RecordTextsShowAsTheWindows1252CharactersTheyAre) {
  SetFieldText(state_.sites[1].SiteName, "\x80 Cr\xEAte");
  model_.RewriteRow(1);
  EXPECT_EQ(model_.data(model_.index(1, kColSiteName)).toString(), QString::fromUtf16(u"\u20AC Cr\u00EAte"));
}

// Which boxes a click changes is CheckedRows'.
TEST_F(SiteListModelTest, ClicksChangeCheckStatesAndReportTheChangedCheckCells) {
  QSignalSpy changed(&model_, &QAbstractItemModel::dataChanged);
  model_.ApplyClick(2, kColCheck, Qt::NoModifier);
  model_.ApplyClick(0, kColCheck, Qt::ShiftModifier);
  ASSERT_EQ(changed.count(), 2);
  EXPECT_EQ(changed[1][0].toModelIndex(), model_.index(0, kColCheck));
  EXPECT_EQ(changed[1][1].toModelIndex(), model_.index(2, kColCheck));
}

}  // namespace
}  // namespace quenderlink
