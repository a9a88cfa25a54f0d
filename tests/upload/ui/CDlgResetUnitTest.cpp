#include "upload/ui/CDlgResetUnit.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <vector>

#include "core/FixedText.h"
#include "net/EngineRecorder.h"
#include "support/DialogTesting.h"
#include "support/ScriptedPrompts.h"

namespace quenderlink {
namespace {

using namespace testing;

class CDlgResetUnitTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }

  static QString LogText(const QWidget& dialog) { return Child<QPlainTextEdit>(dialog, "logBox").toPlainText(); }
  static bool WaitEnds(const QWidget& dialog) {
    return QTest::qWaitFor([&] { return Child<QPushButton>(dialog, "resendButton").isEnabled(); }, 2500);
  }

  ScriptedPrompts prompts_;
};

TEST_F(CDlgResetUnitTest, ConfirmationEndsTheWaitAndResendStartsANewOneFromTickZero) {
  const auto simulator = StartUnits({Unit("127.81.1.1")});
  const RuntimeParams params = PingParams(2, 1);
  CDlgResetUnit dialog(Site("127.81.1.1"), params, prompts_);
  auto& resend = Child<QPushButton>(dialog, "resendButton");
  auto& progress = Child<QProgressBar>(dialog, "progressBar");
  dialog.show();
  EXPECT_TRUE(simulator->ReceivedBy("127.81.1.1", 9001).empty()) << "sent before the dialog was on screen";
  ASSERT_TRUE(WaitEnds(dialog));
  EXPECT_EQ(progress.maximum(), 20);
  EXPECT_EQ(LogText(dialog).count("*** SUCCESS: The Unit is resetting"), 1);  // the lines are ResetWait's

  resend.click();
  EXPECT_FALSE(resend.isEnabled());
  EXPECT_EQ(progress.value(), 0);
  ASSERT_TRUE(WaitEnds(dialog));
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

}  // namespace
}  // namespace quenderlink
