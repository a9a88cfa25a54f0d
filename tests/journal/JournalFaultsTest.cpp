#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "journal/Journal.h"
#include "journal/JournalFile.h"
#include "journal/JournalTestRows.h"
#include "support/SmallDisk.h"
#include "support/TempDir.h"

namespace quenderlink {
namespace {

using testing::JournalCount;
using testing::JournalRows;
using testing::TempDir;

JournalUnit UnitNumber(int number) {
  JournalUnit unit;
  unit.host = "10.1." + std::to_string(number / 256) + "." + std::to_string(number % 256);
  unit.address = unit.host;
  unit.port = 9001;
  return unit;
}

void RecordOneRun(Journal& journal, int units) {
  JournalRun run = journal.StartRun({RunKind::Ping, "", ""});
  for (int unit = 0; unit < units; ++unit) run.Record(run.AddUnit(UnitNumber(unit)), ResultOf(ResultOutcome::Answered));
  run.End(RunEnding::Finished, {units, units, 0});
  journal.Flush();
}

TEST(JournalFaultsTest, AFileThatIsNoDatabaseIsMovedAsideAndANewJournalStarted) {
  TempDir dir;
  std::string noise(8192, '\0');
  std::mt19937 random(29);
  for (char& byte : noise) byte = static_cast<char>(random());
  std::ofstream(dir / kJournalFileName, std::ios::binary) << noise;

  Journal journal(dir / kJournalFileName);
  RecordOneRun(journal, 3);
  EXPECT_EQ(journal.TakeUntoldFailure(), "");
  EXPECT_EQ(JournalCount(dir / kJournalFileName, "SELECT count(*) FROM results"), 3);
  std::vector<std::filesystem::path> aside;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    if (entry.path().filename().string().starts_with("journal.sqlite.damaged-")) aside.push_back(entry.path());
  }
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(testing::ReadFileBytes(aside[0]), noise);
}

TEST(JournalFaultsTest, AJournalThatCannotBeWrittenSaysWhyOnceAndTakesNothing) {
  TempDir dir;
  testing::SmallDisk disk(dir.path());
  const int code = disk.Run([&](testing::SmallDisk& self) {
    if (!self.MakeReadOnly()) return testing::kNoSmallDisk;
    Journal journal(dir / kJournalFileName);
    RecordOneRun(journal, 2);
    const std::string first = journal.TakeUntoldFailure();
    RecordOneRun(journal, 2);
    const bool once = journal.TakeUntoldFailure().empty();
    return first.starts_with("Journal not written: " + (dir / kJournalFileName).string()) && once ? 0 : 1;
  });
  if (code == testing::kNoSmallDisk) GTEST_SKIP() << "needs root to mount a read-only folder of its own";
  EXPECT_EQ(code, 0);
}

// A writer killed at any moment of a 10,000-unit run leaves a sound journal
// with every batch it had committed.
TEST(JournalFaultsTest, AKilledWriterLeavesEveryCommittedBatch) {
  TempDir dir;
  int committed[2];
  ASSERT_EQ(pipe(committed), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(committed[0]);
    Journal journal(dir / kJournalFileName);
    for (std::int64_t written = 0;;) {
      JournalRun run = journal.StartRun({RunKind::Ping, "", ""});
      for (int unit = 0; unit < 10000; ++unit) {
        run.Record(run.AddUnit(UnitNumber(unit)), ResultOf(ResultOutcome::NoAnswer));
        if (++written % 1000 == 0) {
          journal.Flush();
          if (write(committed[1], &written, sizeof written) != sizeof written) _exit(1);
        }
      }
    }
  }
  close(committed[1]);
  std::int64_t reported = 0;
  while (reported < 15000 && read(committed[0], &reported, sizeof reported) == sizeof reported) {
  }
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  close(committed[0]);
  ASSERT_GE(reported, 15000);

  EXPECT_EQ(JournalRows(dir / kJournalFileName, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
  EXPECT_GE(JournalCount(dir / kJournalFileName, "SELECT count(*) FROM results"), reported);
  // The next program goes on writing into it.
  Journal journal(dir / kJournalFileName);
  RecordOneRun(journal, 1);
  EXPECT_EQ(journal.TakeUntoldFailure(), "");
}

// Two programs writing at once (the desktop program and a nightly job) both
// have all their results kept, and neither is told the journal is locked.
TEST(JournalFaultsTest, TwoProgramsWriteAtOnce) {
  TempDir dir;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    Journal journal(dir / kJournalFileName);
    for (int run = 0; run < 20; ++run) RecordOneRun(journal, 500);
    _exit(journal.TakeUntoldFailure().empty() ? 0 : 1);
  }
  Journal journal(dir / kJournalFileName);
  for (int run = 0; run < 20; ++run) RecordOneRun(journal, 500);
  EXPECT_EQ(journal.TakeUntoldFailure(), "");
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(JournalCount(dir / kJournalFileName, "SELECT count(*) FROM runs WHERE ending = 1"), 40);
  EXPECT_EQ(JournalCount(dir / kJournalFileName, "SELECT count(*) FROM results"), 40 * 500);
}

}  // namespace
}  // namespace quenderlink
