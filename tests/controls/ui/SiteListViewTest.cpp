#include "controls/ui/SiteListView.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStandardItemModel>

#include <array>

#include "support/DialogTesting.h"

namespace quenderlink {
namespace {

constexpr int kButtonRole = Qt::UserRole + 1;
constexpr int kButtonColumn = 2;
constexpr int kCheckColumn = 1;

class SiteListViewTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureApplication(); }

  SiteListViewTest() : model_(3, 4) {
    for (int row = 0; row < 3; ++row) {
      for (int column = 0; column < 4; ++column) model_.setItem(row, column, new QStandardItem("cell"));
      model_.item(row, kButtonColumn)->setData(true, kButtonRole);
    }
    view_.setModel(&model_);
    view_.SetCellButtonRole(kButtonRole);
    view_.SetCheckColumn(kCheckColumn);
    view_.resize(400, 300);
    view_.show();
  }

  QPoint CellCentre(int row, int column) const { return view_.visualRect(model_.index(row, column)).center(); }
  QPoint BelowTheRows() const { return CellCentre(2, 0) + QPoint(0, 100); }

  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = {}) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, at, view_.viewport()->mapToGlobal(at), button, held, modifiers);
    QCoreApplication::sendEvent(view_.viewport(), &event);
  }
  void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {}) {
    Mouse(QEvent::MouseButtonPress, at, button, modifiers);
    Mouse(QEvent::MouseButtonRelease, at, button, modifiers);
  }

  QStandardItemModel model_;
  SiteListView view_;
};

TEST_F(SiteListViewTest, RightClickSelectsTheRowBeforeReportingIt) {
  QSignalSpy rightClicks(&view_, &SiteListView::rowRightClicked);
  QList<int> selectedWhenReported;
  QObject::connect(&view_, &SiteListView::rowRightClicked, [&] { selectedWhenReported << view_.SelectedRow(); });
  Click(CellCentre(2, 3), Qt::RightButton);
  Click(BelowTheRows(), Qt::RightButton);
  EXPECT_EQ(rightClicks, (QList<QVariantList>{{2}, {-1}}));
  EXPECT_EQ(selectedWhenReported, (QList<int>{2, -1}));
  EXPECT_EQ(view_.currentIndex().row(), 2);
}

TEST_F(SiteListViewTest, LeftClicksReportCellAndModifiersAndCtrlKeepsTheSelection) {
  QSignalSpy clicks(&view_, &SiteListView::cellClicked);
  QSignalSpy doubleClicks(&view_, &SiteListView::rowDoubleClicked);
  Click(CellCentre(1, 3), Qt::LeftButton, Qt::ControlModifier);
  Click(CellCentre(1, 3), Qt::LeftButton, Qt::ControlModifier);
  EXPECT_EQ(view_.SelectedRow(), 1);
  // The double click's second press is no click.
  Mouse(QEvent::MouseButtonDblClick, CellCentre(0, 0), Qt::LeftButton);
  Mouse(QEvent::MouseButtonDblClick, BelowTheRows(), Qt::LeftButton);
  EXPECT_EQ(doubleClicks, (QList<QVariantList>{{0}, {-1}}));
  // Space "clicks" the check box of the current row.
  view_.setCurrentIndex(model_.index(2, 0));
  QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
  QCoreApplication::sendEvent(&view_, &space);

  const QVariant ctrl = QVariant::fromValue(Qt::KeyboardModifiers(Qt::ControlModifier));
  const QVariant none = QVariant::fromValue(Qt::KeyboardModifiers());
  EXPECT_EQ(clicks, (QList<QVariantList>{{1, 3, ctrl}, {1, 3, ctrl}, {2, kCheckColumn, none}}));
}

TEST_F(SiteListViewTest, CellButtonReportsOnlyAPressAndReleaseInsideTheSameButton) {
  QSignalSpy buttons(&view_, &SiteListView::cellButtonClicked);
  Click(CellCentre(0, 0));
  Click(CellCentre(1, kButtonColumn));
  Mouse(QEvent::MouseButtonPress, CellCentre(2, kButtonColumn), Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, CellCentre(2, 3), Qt::LeftButton);
  Click(CellCentre(2, kButtonColumn), Qt::RightButton);
  EXPECT_EQ(buttons, (QList<QVariantList>{{1, kButtonColumn}}));
}

// Which widths hide a column is checked where the main view applies them.
// Widths are described for a small font: a wider one widens every column alike,
// and no column is narrower than its title, a narrow button column included.
TEST_F(SiteListViewTest, WidthsFollowTheFontInUseAndNoTitleIsCut) {
  model_.setHorizontalHeaderLabels({"A", "B", "Telnet", "D"});
  view_.ApplyColumnWidths(std::array{0, 30, 20, 70});
  EXPECT_TRUE(view_.isColumnHidden(0));
  const int narrow = view_.columnWidth(1);
  EXPECT_NEAR(view_.columnWidth(3), narrow * 70 / 30, 2);
  EXPECT_GT(view_.columnWidth(2), view_.horizontalHeader()->fontMetrics().horizontalAdvance("Telnet"));

  QFont wider = view_.font();
  wider.setPointSizeF(wider.pointSizeF() * 2);
  view_.setFont(wider);
  view_.ApplyColumnWidths(std::array{40, 30});
  EXPECT_FALSE(view_.isColumnHidden(0)) << "a hidden column shows again";
  EXPECT_NEAR(view_.columnWidth(1), 2 * narrow, narrow / 4);
}

}  // namespace
}  // namespace quenderlink
