#include "dialogs/ui/CDlgPingDevice.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>

#include "net/EngineRecorder.h"
#include "support/DialogTesting.h"
#include "support/ScriptedPrompts.h"

namespace quenderlink {
namespace {

using namespace testing;

class CDlgPingDeviceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }

  // A dialog that does not close by itself within 5 s is cancelled, so that
  // it fails its test instead of hanging the run.
  static int ExecOrCancel(QDialog& dialog) {
    QTimer::singleShot(5000, &dialog, [&dialog] {
      ADD_FAILURE() << "the dialog did not close by itself";
      dialog.reject();
    });
    return dialog.exec();
  }

  ProgramState state_{"."};
  ScriptedPrompts prompts_;
};

// The engine waits a second longer than "Max Wait Response"; the bar shows the setting.
TEST_F(CDlgPingDeviceTest, AnAnsweringUnitIsAcceptedAndASilentOneIsGivenUpWithTheCautionLine) {
  const auto simulator = StartUnits({Unit("127.80.1.1"), Unit("127.80.2.1", {.silent = true})});
  state_.params = PingParams(1, 1);
  SiteRecord site = Site("127.80.1.1");
  CDlgPingDevice dialog(site, state_, prompts_);

  // The reply handed back is checked where the site dialog takes it.
  EXPECT_EQ(ExecOrCancel(dialog), QDialog::Accepted);
  EXPECT_EQ(LogText(dialog),
            "Sent Ping #1 to 127.80.1.1 (Port 9001)\nDNS: 127.80.1.1\nwill wait  1  seconds for a response\n");
  EXPECT_EQ(site.SiteFlags, 0);

  // The busy flag is held meanwhile; its release is checked where a dialog is destroyed.
  SiteRecord silentSite = Site("127.80.2.1");
  CDlgPingDevice silent(silentSite, state_, prompts_);
  auto& progress = Child<QProgressBar>(silent, "progressBar");
  bool busyMeanwhile = false;
  QTimer::singleShot(300, &silent, [&] { busyMeanwhile = state_.operations.pingInProgress; });

  EXPECT_EQ(ExecOrCancel(silent), QDialog::Rejected);
  EXPECT_FALSE(silent.UserAborted());
  EXPECT_TRUE(LogText(silent).endsWith("will wait  1  seconds for a response\n"
                                       "CAUTION: No Reponse from 127.80.2.1 (Port 9001)\n\n"));
  EXPECT_EQ(progress.maximum(), 10);
  EXPECT_EQ(progress.value(), 10);
  EXPECT_TRUE(busyMeanwhile);
}

TEST_F(CDlgPingDeviceTest, ClosingWhileWaitingStopsTheEngineAndClosesOnlyWhenItHasFinishedAndDestroyingItJoinsIt) {
  const auto simulator = StartUnits({Unit("127.80.3.1", {.silent = true})});
  state_.params = PingParams(2, 3);
  SiteRecord site = Site("127.80.3.1");
  CDlgPingDevice dialog(site, state_, prompts_);
  bool openAfterClose = false;
  QTimer::singleShot(0, &dialog, [&] {
    ASSERT_TRUE(QTest::qWaitFor([&] { return LogText(dialog).contains("seconds for a response"); }, 5000));
    dialog.close();
    openAfterClose = dialog.isVisible();
  });

  // Without the stop the engine would go on for nine seconds and the dialog be cancelled.
  EXPECT_EQ(ExecOrCancel(dialog), QDialog::Rejected);
  EXPECT_TRUE(openAfterClose);
  EXPECT_TRUE(dialog.UserAborted());
  EXPECT_TRUE(LogText(dialog).endsWith(
      "will wait  2  seconds for a response\n**********\n********** TERMINATING Ping\n********** PLEASE WAIT . . .\n\n"));

  {
    CDlgPingDevice destroyed(site, state_, prompts_);
    destroyed.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return LogText(destroyed).contains("Sent Ping #1"); }, 2000));
  }
  EXPECT_FALSE(state_.operations.pingInProgress);
}

}  // namespace
}  // namespace quenderlink
