#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "core/ErrorMessages.h"
#include "net/EngineRecorder.h"
#include "support/DialogTesting.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "upload/ui/CFViewUploadPgmBoxes.h"
#include "upload/ui/CFViewUploadProgram.h"

namespace quenderlink {
namespace {

using namespace testing;

// Each test its own device port: the engine binds it on every address, and
// tests of this file run side by side.
constexpr std::uint16_t kListPort = 47890;
constexpr std::uint16_t kBoxesPort = 47891;
constexpr std::uint16_t kCancelPort = 47892;

// A fresh program state with highlighted sites on loopback, quick waits, and
// a small program file; the views run against simulated units.
class MultiUploadViewsTest : public ::testing::Test {
 protected:
  MultiUploadViewsTest() {
    EnsureApplication();
    state_.params.pingMaxWaitResponse = 2;
    state_.params.pingMaxResend = 1;
    state_.params.uploadMinWaitRamLoader = 0;
    state_.params.uploadMinWaitSysReboot = 0;
    state_.operations.mainView = &mainView_;
    std::string image(3000, '\0');
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(0xC3 ^ (i * 5 % 251));
    WriteFileBytes(program_, image);
  }

  void AddSites(const std::vector<std::string>& addresses, std::uint16_t port) {
    std::vector<SiteRecord> records;
    for (const std::string& address : addresses) {
      records.push_back(Site(address, static_cast<std::uint16_t>(records.size() + 1), kFlagHighlighted, port));
      records.back().ProductType = 2;
    }
    state_.sites.Replace(records);
  }

  // Waits, serving the engine's calls, until the view's run has ended.
  static void WaitForEnd(const MultiUploadView& view) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view.running(); }, 30000)) << "the run did not end";
  }

  ProgramState state_{"."};
  ScriptedPrompts prompts_;
  RecordingMainView mainView_;
  TempDir dir_;
  std::filesystem::path program_ = dir_ / "program.bin";
  std::unique_ptr<unitsim::UnitSimulator> units_;
};

TEST_F(MultiUploadViewsTest, TheListShowsEachUnitsLastStepCountsThemAndRefusesToCloseWhileRunning) {
  AddSites({"127.89.1.1", "127.89.1.2", "127.89.1.3"}, kListPort);
  unitsim::UnitConfig silent = UploadUnit("127.89.1.2", kListPort);
  silent.faults.silent = true;
  units_ = StartUnits(
      {UploadUnit("127.89.1.1", kListPort), silent,
       UploadUnit("127.89.1.3", kListPort, {.loaderNeverStarts = true})});

  CFViewUploadProgram view(state_, prompts_);
  ASSERT_EQ(view.listRun().rows().size(), 3u);
  EXPECT_EQ(state_.operations.uploadView, &view);
  view.ReceiveProgramFile(program_.string());
  EXPECT_TRUE(state_.operations.uploadInProgress);
  EXPECT_FALSE(view.MayClose());
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].errorId, kErrorUploadInProgress);

  // What each step writes into its row is pinned by the list run's own tests.
  WaitForEnd(view);
  EXPECT_EQ(state_.sites.FindByRow(1)->VersionMajor, 2) << "the new program's answer reached the run";
  EXPECT_EQ(Text<QLabel>(view, "headlineText"),
            "  Upload is Complete!   Total Sites = 3,  Successful = 1,  Failed = 2");
  EXPECT_FALSE(state_.operations.uploadInProgress);
  EXPECT_EQ(state_.operations.uploadView, nullptr);
  EXPECT_EQ(mainView_.runsFinished, 1);
  EXPECT_TRUE(view.MayClose());
  EXPECT_FALSE(Child<QPushButton>(view, "abortButton").isVisibleTo(&view));
  EXPECT_TRUE(Child<QPushButton>(view, "closeButton").isVisibleTo(&view));
}

TEST_F(MultiUploadViewsTest, EachBoxLogsItsUnitAndTheCaptionEnlargesIt) {
  AddSites({"127.89.2.1", "127.89.2.2"}, kBoxesPort);
  units_ = StartUnits(
      {UploadUnit("127.89.2.1", kBoxesPort), UploadUnit("127.89.2.2", kBoxesPort, {.silentAfterReboot = true})});

  CFViewUploadPgmBoxes view(state_, prompts_);
  EXPECT_EQ(state_.operations.uploadBoxesView, &view);
  view.ReceiveProgramFile(program_.string());
  WaitForEnd(view);

  // What each step writes into its box is pinned by the boxes run's own tests.
  const QString second = Child<QPlainTextEdit>(view, "boxLog1").toPlainText();
  EXPECT_TRUE(second.endsWith("NO RESPONSE from TWD 2 after 3 pings\n")) << second.toStdString();
  EXPECT_EQ(Text<QPushButton>(view, "boxCaption1"), "Upload Complete!");
  EXPECT_EQ(Child<QPlainTextEdit>(view, "boxLog1").palette().color(QPalette::Base), QColor(204, 255, 204));
  EXPECT_EQ(Text<QLabel>(view, "headlineText"),
            "          Upload is Complete!\n          Total Sites = 2,  Successful = 2,  Failed = 0");
  EXPECT_TRUE(Child<QPushButton>(view, "pictureButton").isVisibleTo(&view));

  Click(view, "boxCaption1");
  EXPECT_EQ(view.enlargedBox(), 1u);
  EXPECT_FALSE(Child<QPlainTextEdit>(view, "boxLog0").isVisibleTo(&view));
  Click(view, "boxCaption1");
  EXPECT_FALSE(view.enlargedBox().has_value());
  EXPECT_TRUE(Child<QPlainTextEdit>(view, "boxLog0").isVisibleTo(&view));
}

TEST_F(MultiUploadViewsTest, ACancelledRunEndsClosableAndAFileThatCannotLoadSaysWhy) {
  AddSites({"127.89.3.1", "127.89.3.2"}, kCancelPort);  // nothing answers there
  state_.params.pingMaxWaitResponse = 30;

  CFViewUploadPgmBoxes cancelled(state_, prompts_);
  cancelled.ReceiveProgramFile(program_.string());
  prompts_.confirmAnswers = {false, true};
  Click(cancelled, "abortButton");
  EXPECT_TRUE(cancelled.running()) << "not confirmed";
  Click(cancelled, "abortButton");
  WaitForEnd(cancelled);
  EXPECT_EQ(prompts_.shown.back().mode, ConfirmMode::AbortUpload);
  EXPECT_EQ(prompts_.shown.back().text, "Upload is not finished yet!\r\n\r\nDo you still want to abort?");
  EXPECT_TRUE(cancelled.MayClose());

  CFViewUploadProgram unloadable(state_, prompts_);
  unloadable.ReceiveProgramFile((dir_ / "missing.bin").string());
  WaitForEnd(unloadable);
  EXPECT_TRUE(Text<QLabel>(unloadable, "headlineText").startsWith("Upload did not start: CANNOT OPEN PROGRAM FILE"))
      << Text<QLabel>(unloadable, "headlineText").toStdString();
  EXPECT_FALSE(state_.operations.uploadInProgress);
}

}  // namespace
}  // namespace quenderlink
