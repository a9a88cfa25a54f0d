#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <memory>
#include <vector>

#include "core/ErrorMessages.h"
#include "core/FixedText.h"
#include "dialogs/ui/CDlgResetUnit.h"
#include "net/EngineRecorder.h"
#include "support/DialogTesting.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "upload/ui/CDlgUploadFile.h"
#include "upload/ui/CFViewUploadPgmBoxes.h"
#include "upload/ui/CFViewUploadProgram.h"

namespace quenderlink {
namespace {

using namespace testing;

// The records handed back as identified; a refresh, not expected here, fails the test.
struct RecordingReceiver : UploadedSiteReceiver {
  explicit RecordingReceiver(const ProgramState& state) : state(state) {}
  void OnUploadedSiteIdentified(const SiteRecord& site) override {
    identified.push_back(site);
    busyMeanwhile = state.operations.uploadInProgress;
  }
  void OnUploadedSiteRefreshed(const SiteRecord&) override { ADD_FAILURE() << "refreshed"; }

  const ProgramState& state;
  std::vector<SiteRecord> identified;
  bool busyMeanwhile = false;
};

// A fresh program state with quick upload waits and a program file that goes in
// three packets to units announcing 1024-byte datagrams; the windows run against
// simulated units.
class UploadWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }

  UploadWindowTest() {
    state_.params.pingMaxWaitResponse = 2;
    state_.params.pingMaxResend = 1;
    state_.params.uploadMinWaitRamLoader = 0;
    state_.params.uploadMinWaitSysReboot = 0;
    std::string program(2500, 'Z');
    program[0] = '\xC3';
    WriteFileBytes(programFile_, program);
  }

  TempDir home_;
  ProgramState state_{home_.path()};
  ScriptedPrompts prompts_;
  RecordingMainView mainView_;
  std::filesystem::path programFile_ = home_ / "program.bin";
};

using CDlgResetUnitTest = UploadWindowTest;

TEST_F(CDlgResetUnitTest, ConfirmationEndsTheWaitAndResendStartsANewOneFromTickZero) {
  const auto simulator = StartUnits({Unit("127.81.1.1")});
  const RuntimeParams params = PingParams(2, 1);
  CDlgResetUnit dialog(Site("127.81.1.1"), params, prompts_);
  auto& resend = Child<QPushButton>(dialog, "resendButton");
  auto& progress = Child<QProgressBar>(dialog, "progressBar");
  const auto waitEnds = [&] { return QTest::qWaitFor([&] { return resend.isEnabled(); }, 2500); };
  dialog.show();
  EXPECT_TRUE(simulator->ReceivedBy("127.81.1.1", 9001).empty()) << "sent before the dialog was on screen";
  ASSERT_TRUE(waitEnds());
  EXPECT_EQ(progress.maximum(), 20);
  EXPECT_EQ(LogText(dialog).count("*** SUCCESS: The Unit is resetting"), 1);  // the lines are ResetWait's

  resend.click();
  EXPECT_EQ(progress.value(), 0);
  ASSERT_TRUE(waitEnds());
  EXPECT_EQ(LogText(dialog).count("*** SUCCESS: The Unit is resetting"), 2);
}

// In a child process that has no descriptor left for the dialog's socket.
TEST_F(CDlgResetUnitTest, ASocketThatCannotBeOpenedIsReportedInAMessageBox) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "the sanitizers' own checks need descriptors this test takes away";
#endif
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto resetWithoutDescriptors = [this] {
    const rlimit limit{256, 256};
    ::setrlimit(RLIMIT_NOFILE, &limit);
    std::vector<int> taken;
    for (int fd; (fd = ::open("/dev/null", O_RDONLY)) >= 0;) taken.push_back(fd);
    CDlgResetUnit dialog(Site("127.81.3.1"), PingParams(1, 1), prompts_);
    for (const int fd : taken) ::close(fd);  // the window system needs a few of its own
    dialog.show();
    const bool told = QTest::qWaitFor([&] { return !prompts_.shown.empty(); }, 2000);
    std::_Exit(told && prompts_.shown[0].text == "ERROR CREATE" ? 0 : 1);
  };
  EXPECT_EXIT(resetWithoutDescriptors(), ::testing::ExitedWithCode(0), "");
}

class CDlgUploadFileTest : public UploadWindowTest {
 protected:
  // Two seconds between pings of the new program: ample on a busy machine.
  CDlgUploadFileTest() { state_.params.pingMaxWaitResponse = 4; }

  // The highlighted site comes second, after one the upload leaves alone.
  std::unique_ptr<CDlgUploadFile> Dialog(const std::string& address, std::uint16_t port) {
    SiteRecord site = Site(address, 2, kFlagHighlighted, port);
    site.ProductType = 2;
    state_.sites.Replace({Site("127.88.0.9", 1, 0, port), site});
    return std::make_unique<CDlgUploadFile>(state_, prompts_, desktop_, receiver_, programFile_.string());
  }

  // Shows the dialog and waits for the engine's end, which shows the icon button.
  static bool ShowUntilEnded(CDlgUploadFile& dialog) {
    dialog.show();
    return QTest::qWaitFor([&] { return Shown(dialog, "iconButton"); }, 15000);
  }

  RecordingDesktopActions desktop_;
  RecordingReceiver receiver_{state_};
};

TEST_F(CDlgUploadFileTest, AGoodUploadIsNarratedInOrderAndTheUpdatedRecordHandedBack) {
  const auto simulator = StartUnits({UploadUnit("127.88.1.1", 47881)});
  const auto dialog = Dialog("127.88.1.1", 47881);
  // The engine writes the address it reaches the unit at; the record handed back must carry it.
  SetFieldText(state_.sites[1].IpByNumber, "");

  ASSERT_TRUE(ShowUntilEnded(*dialog));

  // The lines themselves are pinned by the upload log's own tests.
  const QString log = LogText(*dialog);
  EXPECT_TRUE(log.contains("SUCCESS! Response from NEW PROGRAM; Ver = 2.0\n")) << log.toStdString();
  const QString status = Text<QLabel>(*dialog, "statusText");
  EXPECT_TRUE(status.startsWith("Upload is Complete (") && status.endsWith(" seconds).")) << status.toStdString();
  // The run is over: "Close" with the report, reset and ping buttons, and nothing busy.
  EXPECT_EQ(Text<QPushButton>(*dialog, "abortButton"), "Close");
  EXPECT_TRUE(Shown(*dialog, "reportButton") && Shown(*dialog, "resetButton") && Shown(*dialog, "pingButton"));
  EXPECT_FALSE(state_.operations.uploadInProgress);
  ASSERT_EQ(receiver_.identified.size(), 1u);
  const SiteRecord& handedBack = receiver_.identified[0];
  EXPECT_EQ(FieldText(handedBack.IpByNumber), "127.88.1.1");
  EXPECT_EQ(handedBack.VersionMajor, 2);
  EXPECT_TRUE(receiver_.busyMeanwhile);

  Click(*dialog, "pingButton");  // the new program answers at once: the ping dialog closes by itself
  EXPECT_TRUE(LogText(*dialog).mid(log.size()).startsWith("Sending Ping to 127.88.1.1\nPING Response = 0."))
      << LogText(*dialog).toStdString();

  bool resetOpened = false;
  AnswerNextModal([&](QWidget& shown) {
    resetOpened = qobject_cast<CDlgResetUnit*>(&shown) != nullptr;
    shown.close();
  });
  Click(*dialog, "resetButton");
  EXPECT_TRUE(resetOpened);
}

TEST_F(CDlgUploadFileTest, AbortAsksFirstAndANewProgramThatNeverAnswersGivesTheCautionAndNoRecord) {
  const auto simulator = StartUnits({UploadUnit("127.88.4.1", 47884, {.loaderNeverStarts = true}),
                                     UploadUnit("127.88.2.1", 47882, {.silentAfterReboot = true})});
  const auto dialog = Dialog("127.88.4.1", 47884);
  dialog->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return LogText(*dialog).contains("to RAM Loader"); }, 5000));

  prompts_.confirmAnswers = {false, true};
  QTest::keyClick(dialog.get(), Qt::Key_Escape);  // as "Abort"
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].mode, ConfirmMode::AbortUpload);
  EXPECT_EQ(prompts_.shown[0].text, "Upload is not finished yet!\r\n\r\nDo you still want to abort?");
  EXPECT_TRUE(dialog->isVisible());

  Click(*dialog, "abortButton");
  EXPECT_EQ(prompts_.shown.size(), 2u) << "the refused abort left the run going, so it is asked again";
  EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }, 1000));
  EXPECT_FALSE(state_.operations.uploadInProgress);

  state_.params.pingMaxWaitResponse = 1;  // no wait between the pings of the new program
  const auto silent = Dialog("127.88.2.1", 47882);
  ASSERT_TRUE(ShowUntilEnded(*silent));
  EXPECT_TRUE(Text<QLabel>(*silent, "statusText").endsWith(" seconds)\nCAUTION: No Response from NEW PROGRAM."));
  EXPECT_TRUE(receiver_.identified.empty());
}

// The report's choices are tried on the log of a run that could not start.
TEST_F(CDlgUploadFileTest, AnUnloadableFileEndsTheRunAndItsLogIsSavedUnderTempCopiedOrMailed) {
  programFile_ = home_ / "missing.bin";
  const auto dialog = Dialog("127.88.3.1", 47883);
  ASSERT_TRUE(ShowUntilEnded(*dialog));
  const QString log = LogText(*dialog);
  EXPECT_EQ(log.toStdString(), "CANNOT OPEN PROGRAM FILE " + programFile_.string() + "\n");

  prompts_.popupAnswers = {1, 2, 3};
  Click(*dialog, "reportButton");
  ASSERT_EQ(desktop_.openedInEditor.size(), 1u);
  const std::filesystem::path saved = desktop_.openedInEditor[0];
  EXPECT_EQ(saved.parent_path(), home_ / "Temp");
  EXPECT_EQ(ReadFileBytes(saved), log.toStdString());
  for (int copyOrMail = 0; copyOrMail < 2; ++copyOrMail) {
    QGuiApplication::clipboard()->clear();
    Click(*dialog, "reportButton");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), log);
  }
  EXPECT_EQ(prompts_.shown.size(), 1u);  // the mail's hint

  Click(*dialog, "abortButton");  // without asking
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(prompts_.shown.size(), 1u);
}

// Each test its own device port: the engine binds it on every address, and
// tests of this file run side by side.
constexpr std::uint16_t kListPort = 47890;
constexpr std::uint16_t kBoxesPort = 47891;
constexpr std::uint16_t kCancelPort = 47892;

class MultiUploadViewsTest : public UploadWindowTest {
 protected:
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
};

TEST_F(MultiUploadViewsTest, TheListShowsEachUnitsLastStepCountsThemAndRefusesToCloseWhileRunning) {
  AddSites({"127.89.1.1", "127.89.1.2", "127.89.1.3"}, kListPort);
  const auto units = StartUnits({UploadUnit("127.89.1.1", kListPort), Unit("127.89.1.2", {.silent = true}, kListPort),
                                 UploadUnit("127.89.1.3", kListPort, {.loaderNeverStarts = true})});

  CFViewUploadProgram view(state_, prompts_, mainView_);
  CheckModelThroughout(*Child<QTableView>(view, "uploadList").model());
  EXPECT_EQ(state_.operations.uploadView, &view);
  view.ReceiveProgramFile(programFile_.string());
  EXPECT_TRUE(state_.operations.uploadInProgress);
  EXPECT_FALSE(view.MayClose());
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].errorId, ErrorId::kUploadInProgress);

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
  const auto units = StartUnits(
      {UploadUnit("127.89.2.1", kBoxesPort), UploadUnit("127.89.2.2", kBoxesPort, {.silentAfterReboot = true})});

  CFViewUploadPgmBoxes view(state_, prompts_, mainView_);
  EXPECT_EQ(state_.operations.uploadBoxesView, &view);
  view.ReceiveProgramFile(programFile_.string());
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
  EXPECT_TRUE(Child<QPlainTextEdit>(view, "boxLog1").isVisibleTo(&view));
  EXPECT_FALSE(Child<QPlainTextEdit>(view, "boxLog0").isVisibleTo(&view));
  Click(view, "boxCaption1");
  EXPECT_TRUE(Child<QPlainTextEdit>(view, "boxLog0").isVisibleTo(&view));
}

TEST_F(MultiUploadViewsTest, ACancelledRunEndsAndAFileThatCannotLoadSaysWhy) {
  AddSites({"127.89.3.1", "127.89.3.2"}, kCancelPort);  // nothing answers there
  state_.params.pingMaxWaitResponse = 30;

  CFViewUploadPgmBoxes cancelled(state_, prompts_, mainView_);
  cancelled.ReceiveProgramFile(programFile_.string());
  prompts_.confirmAnswers = {false, true};
  Click(cancelled, "abortButton");
  EXPECT_TRUE(cancelled.running()) << "not confirmed";
  Click(cancelled, "abortButton");
  WaitForEnd(cancelled);
  EXPECT_EQ(prompts_.Last().mode, ConfirmMode::AbortUpload);  // the question's text is the upload dialog's

  CFViewUploadProgram unloadable(state_, prompts_, mainView_);
  unloadable.ReceiveProgramFile((home_ / "missing.bin").string());
  WaitForEnd(unloadable);
  EXPECT_TRUE(Text<QLabel>(unloadable, "headlineText").startsWith("Upload did not start: CANNOT OPEN PROGRAM FILE"))
      << Text<QLabel>(unloadable, "headlineText").toStdString();
}

}  // namespace
}  // namespace quenderlink
