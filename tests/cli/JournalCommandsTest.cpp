#include <stdlib.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "cli/CliRunner.h"
#include "core/IniSettingsFile.h"
#include "journal/Journal.h"
#include "journal/JournalTestRows.h"
#include "journal/JournalTime.h"
#include "journal/JournalUnits.h"
#include "journal/JournalWriter.h"
#include "net/EngineRecorder.h"
#include "support/SiteListFile.h"
#include "support/SmallDisk.h"
#include "support/TestSite.h"

namespace quenderlink::testing {
namespace {

// Pings that end at once when a unit is silent.
void QuickPings(const std::filesystem::path& home) {
  IniSettingsFile settings(home);
  settings.EnsureIniFile();
  ASSERT_TRUE(settings.WriteStrings("Ping Sites", {{"Max Wait Response", "0"}, {"Max Resend", "2"}}));
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
  return count;
}

class JournalCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { QuickPings(cli.home()); }

  std::filesystem::path JournalFile() const { return cli / "journal.sqlite"; }

  // One result in a run of its own, at a known time.
  static void AddResult(Journal& journal, RunKind kind, const SiteRecord& site, JournalResult result,
                        const char* utc) {
    JournalRun run = journal.StartRun({kind, {}, {}});
    run.RecordAt(run.AddUnit(JournalUnitOf(site)), ParseJournalDate(utc)->ms, std::move(result));
    run.End(RunEnding::Finished, {1, 0, 0});
  }

  CliRunner cli;
};

// In the child, before the tool starts: times in the table and dates without Z read as UTC.
bool InUtc() { return ::setenv("TZ", "UTC", 1) == 0; }

TEST_F(JournalCommandsTest, PingAndResetRunsAreJournaledWhileTheDesktopProgramWritesTheSameJournal) {
  const auto simulator = StartUnits({Unit("127.72.29.1")});
  const std::string file = WriteSiteList(cli / "sites.bin", {TestSite({.name = "EAST YARD", .address = "127.72.29.1"}),
                                                             TestSite({.address = "127.72.29.3"})});

  Journal desktop(JournalFile());
  const JournalUnit desk = JournalUnitOf(TestSite({.address = "127.72.29.9"}));
  std::atomic<bool> done{false};
  int desktopRuns = 0;
  std::thread writing([&] {
    while (!done) {

      JournalRun run = desktop.StartRun({RunKind::ManualPing, {}, {}});
      run.Record(run.AddUnit(desk), ResultOf(ResultOutcome::Answered));
      run.End(RunEnding::Finished, {1, 1, 0});
      desktop.Flush();
      ++desktopRuns;
    }
  });
  const CliResult pinged = cli.Run({"ping", file});
  const CliResult reset = cli.Run({"ping", file, "--rows", "1", "--reset"});
  done = true;
  writing.join();

  EXPECT_EQ(pinged.exitCode, 1) << pinged.err;  // the second unit is silent
  EXPECT_EQ(reset.exitCode, 0) << reset.err;
  for (const std::string& err : {pinged.err, reset.err}) {
    EXPECT_EQ(err.find("database is locked"), std::string::npos) << err;
    EXPECT_EQ(err.find("Journal not written"), std::string::npos) << err;
  }
  EXPECT_EQ(desktop.TakeUntoldFailure(), "");
  EXPECT_EQ(JournalRows(JournalFile(), "SELECT kind, site_list, ending, total, succeeded, failed FROM runs "
                                       "WHERE kind IN (1, 2) ORDER BY id"),
            (std::vector<std::string>{"1|" + file + "|1|2|1|1", "2|" + file + "|1|1|1|0"}));
  EXPECT_EQ(JournalRows(JournalFile(), "SELECT runs.kind, u.host, u.site_name, r.outcome, va.text, b.text "
                                       "FROM results r JOIN units u ON u.id = r.unit JOIN runs ON runs.id = r.run "
                                       "LEFT JOIN texts va ON va.id = r.version_after LEFT JOIN texts b ON b.id = r.boards "
                                       "WHERE runs.kind IN (1, 2) ORDER BY runs.id, u.host"),
            (std::vector<std::string>{"1|127.72.29.1|EAST YARD|1|1.0|comm Comm?? / reader Rdr??? / speech Spch??",
                                      "1|127.72.29.3||2|-|-", "2|127.72.29.1|SITE 127.72.29.1|5|-|-"}));
  EXPECT_GT(desktopRuns, 0);
  EXPECT_EQ(JournalCount(JournalFile(), "SELECT count(*) FROM runs WHERE kind = 7 AND ending = 1"), desktopRuns);
}

TEST_F(JournalCommandsTest, HistoryAndAvailabilityReadTheJournalNewestFirstWithUtcTimesForScripts) {
  const SiteRecord east = TestSite({.name = "EAST YARD", .address = "127.72.29.1"});
  const SiteRecord west = TestSite({.name = "WEST, NORTH", .address = "127.72.29.2"});
  const std::string file = WriteSiteList(cli / "sites.bin", {east, west, TestSite({.address = "127.72.29.3"})});
  {
    Journal journal(JournalFile());
    JournalResult answered = ResultOf(ResultOutcome::Answered);
    answered.replyMs = 200;
    answered.versionAfter = "3.12";
    answered.boards = "comm C1 / reader R2 / speech S3";
    AddResult(journal, RunKind::Ping, east, answered, "2026-12-01T10:00:00Z");
    AddResult(journal, RunKind::Ping, east, ResultOf(ResultOutcome::NoAnswer), "2026-12-02T10:00:00Z");
    JournalResult upload = ResultOf(ResultOutcome::UploadFailed, UploadStep::Packets);
    upload.versionBefore = "3.12";
    upload.error = "no answer to packet 4, tried 5 times";
    AddResult(journal, RunKind::Upload, east, upload, "2026-12-03T10:00:00Z");
    AddResult(journal, RunKind::Ping, east, ResultOf(ResultOutcome::NoAnswer), "2026-12-03T11:00:00Z");
    answered.versionAfter = "3.9";
    AddResult(journal, RunKind::Ping, west, answered, "2026-12-02T09:00:00Z");
  }

  // An --until date alone takes in its whole day.
  const std::string user = OriginOfThisProcess().user;
  const CliResult csv =
      cli.Run({"history", "127.72.29.1", "--since", "2026-12-02T00:00Z", "--until", "2026-12-03", "--csv"}, InUtc);
  EXPECT_EQ(csv.exitCode, 0) << csv.err;
  EXPECT_EQ(csv.out,
            "time,site,host,port,kind,outcome,replyMs,versionBefore,versionAfter,boards,user,error\n"
            "2026-12-03T11:00:00Z,EAST YARD,127.72.29.1,9001,ping,no answer,,,,," + user + ",\n" +
                "2026-12-03T10:00:00Z,EAST YARD,127.72.29.1,9001,upload,upload failed at packets,,3.12,,," + user +
                ",\"no answer to packet 4, tried 5 times\"\n" +
                "2026-12-02T10:00:00Z,EAST YARD,127.72.29.1,9001,ping,no answer,,,,," + user + ",\n");

  const CliResult json = cli.Run({"history", "--sites", file, "--rows", "1-2", "--kind", "ping", "--until",
                                  "2026-12-02T09:30", "--json"}, InUtc);
  EXPECT_EQ(json.exitCode, 0) << json.err;
  const auto entries = nlohmann::ordered_json::parse(json.out);
  ASSERT_EQ(entries.size(), 2u) << json.out;
  EXPECT_EQ(entries[0].dump(),
            R"({"time":"2026-12-02T09:00:00Z","site":"WEST, NORTH","host":"127.72.29.2","port":9001,"kind":"ping",)"
            R"("outcome":"answered","replyMs":200,"versionBefore":null,"versionAfter":"3.9",)"
            R"("boards":"comm C1 / reader R2 / speech S3","user":")" + user + R"(","error":null})");
  EXPECT_EQ(entries[1]["time"], "2026-12-01T10:00:00Z");

  const CliResult availability =
      cli.Run({"report", "availability", "--sites", file, "--since", "2026-11-30T00:00Z", "--json"});
  EXPECT_EQ(availability.exitCode, 0) << availability.err;
  const auto sites = nlohmann::ordered_json::parse(availability.out);
  ASSERT_EQ(sites.size(), 3u) << availability.out;
  EXPECT_EQ(sites[0].dump(), R"({"row":1,"site":"EAST YARD","host":"127.72.29.1","port":9001,"pings":3,"answered":1,)"
                             R"("share":33.3,"lastAnswer":"2026-12-01T10:00:00Z","downSince":"2026-12-02T10:00:00Z"})");
  EXPECT_EQ(sites[1]["share"], 100.0);
  EXPECT_TRUE(sites[1]["downSince"].is_null());
  EXPECT_EQ(sites[2]["pings"], 0);
  EXPECT_TRUE(sites[2]["share"].is_null());
}

TEST_F(JournalCommandsTest, BadInputIsRefusedWithOneLineAndExit2AndAnUnreadableJournalWithExit1) {
  const std::string file = WriteSiteList(cli / "sites.bin", {TestSite({.address = "127.72.29.1"})});
  const std::vector<std::vector<std::string>> refused{
      {"history"},
      {"history", "127.72.29.1", "--json", "--csv"},
      {"history", "127.72.29.1", "--since", "yesterday"},
      {"history", "--sites", file, "--until", "2026-02-30"},
      {"history", "127.72.29.1", "--kind", "pong"},
      {"report", "availability", "--sites", file, "--since", "2026-12-01T25:00"},
      {"report", "versions", "--sites", file, "--csv", "--json"},
      {"journal", "prune", "--older-than", "0"},
      {"journal", "prune", "--older-than", "1.5"},
  };
  for (const auto& arguments : refused) {
    const CliResult result = cli.Run(arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments[1];
    EXPECT_EQ(Lines(result.err).size(), 1u) << result.err;
    EXPECT_EQ(result.out, "");
  }

  WriteFileBytes(JournalFile(), std::string(8192, 'x'));
  const CliResult unreadable = cli.Run({"history", "127.72.29.1"});
  EXPECT_EQ(unreadable.exitCode, 1);
  EXPECT_NE(unreadable.err.find(JournalFile().string() + ": "), std::string::npos) << unreadable.err;
}

TEST_F(JournalCommandsTest, APingFromAReadOnlyProgramFolderCompletesAndSaysOnceThatTheJournalWasNotWritten) {
  const auto simulator = StartUnits({Unit("127.72.29.4")});
  const TempDir lists;
  const TempDir told;
  const std::string file = WriteSiteList(lists / "sites.bin", {TestSite({.address = "127.72.29.4"})});
  SmallDisk disk(cli.home());
  const int code = disk.Run([&](SmallDisk& self) {
    QuickPings(cli.home());
    if (!self.MakeReadOnly()) return 3;
    const CliResult result = cli.Run({"ping", file});
    WriteFileBytes(told / "stderr", result.err);
    return result.exitCode;
  });
  if (code == kNoSmallDisk) GTEST_SKIP() << "a read-only program folder needs a mount namespace of its own (root)";
  EXPECT_EQ(code, 0);
  const std::string err = ReadFileBytes(told / "stderr");
  EXPECT_EQ(Occurrences(err, "Journal not written: "), 1u) << err;
}

}  // namespace
}  // namespace quenderlink::testing
