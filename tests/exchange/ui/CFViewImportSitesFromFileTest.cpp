#include "exchange/ui/CFViewImportSitesFromFile.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>

#include "core/CSiteinfoClass.h"
#include "core/SiteFileStamp.h"
#include "exchange/ImportSave.h"
#include "exchange/ui/ImportListModel.h"
#include "net/EngineRecorder.h"
#include "support/DialogTesting.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace quenderlink {
namespace {

using namespace testing;

// The lines, rows, pings and saves are the SiteImport's and pinned there; these
// check that the view's controls reach them.
class CFViewImportSitesFromFileTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }
  void SetUp() override {
    state_.params = PingParams(1, 1);
    view_ = std::make_unique<CFViewImportSitesFromFile>(state_, prompts_, mainView_);
    CheckModelThroughout(List());
    view_->resize(1200, 700);
    view_->show();
  }

  QAbstractItemModel& List() const { return *Child<QTableView>(*view_, "importList").model(); }
  QVariant Cell(int row, int column, int role = Qt::DisplayRole) const {
    return List().data(List().index(row, column), role);
  }

  TempDir dir_;
  ProgramState state_{dir_.path()};
  ScriptedPrompts prompts_;
  RecordingMainView mainView_;
  std::unique_ptr<CFViewImportSitesFromFile> view_;
};

// Which refusal comes first is ImportRefusalTest's.
TEST_F(CFViewImportSitesFromFileTest, ARefusedImportSaysWhyAndListsNothing) {
  const auto binary = dir_ / "binary.csv";
  WriteFileBytes(binary, std::string("a\0b", 3));
  Child<QLineEdit>(*view_, "fileEdit").setText(QString::fromStdString(binary.string()));
  Child<QComboBox>(*view_, "ipColumn").setCurrentIndex(1);
  Click(*view_, "importButton");
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.Last().errorId, ErrorId::kImportFileUnreadable);
  EXPECT_TRUE(prompts_.Last().text.starts_with("Failed to read the import file!"));
  EXPECT_EQ(List().rowCount(), 0);
}

TEST_F(CFViewImportSitesFromFileTest, ImportEditPingAndAppendReachTheSiteList) {
  const auto simulator = StartUnits({Unit("127.102.1.1")});
  const auto csv = dir_ / "sites.csv";
  WriteFileBytes(csv, "127.102.1.1\r\n127.102.1.2\r\n");
  prompts_.fileAnswers.push_back(csv.string());
  Click(*view_, "browseButton");
  EXPECT_EQ(Child<QPlainTextEdit>(*view_, "sampleBox").toPlainText(), "127.102.1.1\n127.102.1.2");
  Child<QComboBox>(*view_, "ipColumn").setCurrentIndex(1);
  Click(*view_, "importButton");
  ASSERT_EQ(List().rowCount(), 2);
  EXPECT_FALSE(Child<QWidget>(*view_, "importButton").isEnabled());

  ASSERT_TRUE(List().setData(List().index(1, kImportColSiteName), "Renamed"));
  EXPECT_EQ(Cell(1, kImportColSiteName, Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));

  Click(*view_, "pingAllButton");
  EXPECT_FALSE(List().flags(List().index(0, kImportColHost)) & Qt::ItemIsEditable);
  EXPECT_TRUE(Shown(*view_, "abortPingButton") && !Shown(*view_, "saveButton") && !Shown(*view_, "closeButton"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Shown(*view_, "saveButton"); }, 10000));
  EXPECT_FALSE(state_.operations.pingInProgress);
  EXPECT_TRUE(Cell(0, kImportColStatus).toString().startsWith("SUCCESS: "));

  const auto list = dir_ / "current.bin";
  ASSERT_TRUE(CSiteinfoClass().CreateBlank(list));
  state_.currentSiteFile = list.string();
  state_.currentSiteFileStamp = StampOfFile(list);
  prompts_.popupAnswers.push_back(kImportAppendAll);
  Click(*view_, "saveButton");
  ASSERT_EQ(mainView_.filesWritten.size(), 1u);
  EXPECT_EQ(mainView_.filesWritten[0], std::make_pair(false, list.string()));
  EXPECT_EQ(prompts_.Last().text, "\r\nTotal of 2 records were appended to\r\n" + list.string());

  Click(*view_, "redoButton");
  EXPECT_EQ(List().rowCount(), 0);
  EXPECT_TRUE(Child<QWidget>(*view_, "importButton").isEnabled());
}

}  // namespace
}  // namespace quenderlink
