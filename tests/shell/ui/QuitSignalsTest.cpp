#include "shell/ui/QuitSignals.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTest>

#include <csignal>

#include "support/DialogTesting.h"
#include "support/TempDir.h"

namespace quenderlink {
namespace {

TEST(QuitSignals, ASignalArrivesAsACallOnTheUiThread) {
  testing::EnsureApplication();
  int received = 0;
  QuitSignals quitSignals([&](int signalNumber) { received = signalNumber; });
  ASSERT_EQ(std::raise(SIGINT), 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return received == SIGINT; }, 2000));
}

// The whole program, as a script or a service manager stops it.
TEST(QuitSignals, SigtermEndsTheDemoAndRemovesItsFolder) {
#if defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "ThreadSanitizer's own signal handling takes a stop signal before the program does";
#endif
  testing::EnsureApplication();
  testing::TempDir temp;
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("TMPDIR", QString::fromStdString(temp.path().string()));
  testing::TempDir runtime;  // Qt would make its runtime folder in TMPDIR otherwise
  environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.path().string()));
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  program.setProcessEnvironment(environment);
  program.start(QUENDERLINK_DESKTOP_PATH, {"--demo"});
  ASSERT_TRUE(program.waitForStarted(5000));
  const QDir folder(QString::fromStdString(temp.path().string()));
  // The demo's home is made before the window opens; its site list is loaded by then.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty(); }, 10000));
  // A program that has already ended has id 0, and kill(0) would stop this whole test run.
  const auto id = static_cast<pid_t>(program.processId());
  ASSERT_GT(id, 0) << program.readAllStandardError().toStdString();
  ::kill(id, SIGTERM);
  ASSERT_TRUE(program.waitForFinished(10000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 128 + SIGTERM);
  EXPECT_EQ(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{});
}

}  // namespace
}  // namespace quenderlink
