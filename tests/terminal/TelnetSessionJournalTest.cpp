#include "terminal/TelnetSessionJournal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "journal/Journal.h"
#include "journal/JournalFile.h"
#include "journal/JournalReader.h"
#include "journal/JournalTestRows.h"
#include "support/TempDir.h"
#include "support/TestSite.h"
#include "terminal/ConnectErrorText.h"

namespace quenderlink {
namespace {

using testing::JournalRows;
using testing::TempDir;
using testing::TestSite;

TEST(TelnetSessionJournalTest, AFailedConnectKeepsItsErrorAndAnOpenedSessionEndsItsRunWhenItCloses) {
  TempDir folder;
  const std::filesystem::path file = folder / kJournalFileName;
  const SiteRecord site = TestSite({.name = "EAST YARD", .address = "127.0.0.1"});
  TelnetSessionJournal session;
  {
    Journal journal(file);
    session.Start(journal.StartRun({RunKind::TelnetSession, "", ""}), site);
    EXPECT_TRUE(session.OnConnectionChanged(false, ECONNREFUSED));
    session.Start(journal.StartRun({RunKind::TelnetSession, "", ""}), site);
    EXPECT_FALSE(session.OnConnectionChanged(true, 0));
    EXPECT_TRUE(session.OnConnectionChanged(false, 0));
    // A closed session's later changes belong to no run.
    EXPECT_FALSE(session.OnConnectionChanged(false, 0));
  }
  EXPECT_EQ(JournalRows(file, "SELECT id, ending, total, succeeded, failed FROM runs ORDER BY id"),
            (std::vector<std::string>{"1|1|1|0|1", "2|1|1|1|0"}));
  std::vector<std::string> results;
  for (const HistoryEntry& entry : JournalReader(file).HistoryOfHost("127.0.0.1", {}))
    results.push_back(std::to_string(static_cast<int>(entry.result.outcome)) + "|" + entry.result.error);
  std::ranges::sort(results);  // both may come in the same millisecond
  EXPECT_EQ(results, (std::vector<std::string>{"10|", "11|" + ConnectErrorText(ECONNREFUSED)}));
}

}  // namespace
}  // namespace quenderlink
