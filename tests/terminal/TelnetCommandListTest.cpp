#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "core/FixedText.h"
#include "support/TempDir.h"
#include "terminal/CaptureFile.h"
#include "terminal/ConnectErrorText.h"
#include "terminal/TelnetCommandList.h"

namespace quenderlink {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(TelnetCommandList, MissingKeysAreWrittenOnceNullEntriesAreNotSentAndAStopEndsAPauseAtOnce) {
  testing::TempDir home;
  IniSettingsFile ini(home.path());
  ASSERT_TRUE(ini.EnsureIniFile());
  ASSERT_TRUE(ini.WriteStrings("TelnetCommand-2", {{"Cmnd1", "STATUS"}, {"Cmnd3", "SLEEP-150"}, {"Cmnd4", "LOG"}}));

  EXPECT_EQ(TelnetCommandListName(ini, 2), "Cmnd=????");
  EXPECT_EQ(ini.ReadString("TelnetCommand-2", "Name", ""), "Cmnd=????");
  const std::vector<std::string> commands = LoadTelnetCommandList(ini, 2);
  ASSERT_EQ(commands.size(), 20u);
  EXPECT_EQ(commands[1], "") << "missing this time";
  EXPECT_EQ(ini.ReadString("TelnetCommand-2", "Response20", ""), "NULL");
  EXPECT_EQ(LoadTelnetCommandList(ini, 2)[1], "NULL") << "read back as written";

  std::vector<std::pair<std::string, Clock::time_point>> sent;
  const auto start = Clock::now();
  RunTelnetCommands(LoadTelnetCommandList(ini, 2), [&](const std::string& command) {
    sent.emplace_back(command, Clock::now());
    return true;
  }, {});
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].first, "STATUS");
  EXPECT_EQ(sent[1].first, "LOG");
  EXPECT_GE(sent[1].second - start, 150ms);

  std::stop_source stop;
  sent.clear();
  std::thread worker([&] {
    RunTelnetCommands({"SLEEP-60000", "NEVER"}, [&](const std::string& command) {
      sent.emplace_back(command, Clock::now());
      return true;
    }, stop.get_token());
  });
  const auto stoppedAt = Clock::now();
  stop.request_stop();
  worker.join();
  EXPECT_LT(Clock::now() - stoppedAt, 5s);
  EXPECT_TRUE(sent.empty());
}

TEST(TelnetCaptureFile, IsNamedByTimeMilepostAndTrack) {
  SiteRecord site{};
  SetFieldText(site.Milepost, "P 41.2");
  std::tm time{};
  time.tm_mon = 11;
  time.tm_mday = 7;
  time.tm_year = 126;
  time.tm_hour = 9;
  time.tm_min = 5;
  EXPECT_EQ(CaptureFilePath("/q", site, time), std::filesystem::path("/q/Capture/12_07_2026 09_05 MP_41.txt"));
  site.TrackIndex = 2;
  EXPECT_EQ(CaptureFilePath("/q", site, time).filename(), "12_07_2026 09_05 MP_41_T2.txt");
}

// A second session within the same minute gets the same name: it must add to the first one's capture.
TEST(TelnetCaptureFile, OpeningMakesTheFolderAndAddsToAFileOfThatName) {
  testing::TempDir home;
  const auto file = home / "Capture" / "capture.txt";
  for (const char* text : {"first session\r\n", "second session\r\n"}) {
    CaptureFile capture;
    ASSERT_TRUE(capture.Open(file));
    ASSERT_TRUE(capture.Write(text));
  }
  EXPECT_EQ(testing::ReadFileBytes(file), "first session\r\nsecond session\r\n");
}

TEST(TelnetConnectErrors, KnownErrorsReadAsMaintainersKnowThemOthersByTheirCode) {
  EXPECT_EQ(ConnectErrorText(ENETUNREACH), "The network cannot be reached from this host at this time.");
  EXPECT_EQ(ConnectErrorText(EHOSTUNREACH), "OnConnect error: 10065");
  EXPECT_EQ(ConnectErrorText(EPERM), "OnConnect error: " + std::to_string(EPERM));
}

}  // namespace
}  // namespace quenderlink
