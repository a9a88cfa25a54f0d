#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>

#include "cli/CliRunner.h"
#include "core/IniSettingsFile.h"
#include "net/EngineRecorder.h"
#include "support/SiteListFile.h"
#include "support/TestSite.h"
#include "unitsim/TerminalPages.h"
#include "unitsim/TerminalSession.h"

namespace quenderlink::testing {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

// What a simulated unit sends for "VERSION", "LOG" and "BYE": its CR NUL line ends as sent.
std::string Sent(const unitsim::UnitConfig& unit) {
  const std::string prompt(unitsim::kPrompt);
  return unitsim::TerminalSession::Greeting(unit.identity) + unitsim::VersionLine(unit.identity) + prompt +
         unitsim::EventLogLines(unit.identity) + prompt + unitsim::TerminalLine("GOODBYE");
}

// What a client shows of those bytes: CR NUL line ends as '\n'.
std::string Shown(std::string sent) {
  for (std::size_t at; (at = sent.find(unitsim::kLineEnd)) != std::string::npos;) sent.replace(at, 2, "\n");
  return sent;
}

class TelnetCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(settings.EnsureIniFile()); }

  // A site list with a record per unit, all on one milepost and track.
  std::string WriteSites(const Strings& hosts) {
    std::vector<SiteRecord> records;
    for (const std::string& host : hosts) {
      SiteRecord& site = records.emplace_back(TestSite({.address = host}));
      SetFieldText(site.Milepost, "12.5");
      site.TelnetPort = kTelnetPort;
    }
    return WriteSiteList(cli / "sites.bin", records);
  }

  CliRunner cli;
  IniSettingsFile settings{cli.home()};
};

TEST_F(TelnetCommandTest, OneUnitGetsItsCommandsAsListedThenByeAndOneJsonOutcomeWithItsCapture) {
  const unitsim::UnitConfig unit = TelnetUnit("127.96.0.1");
  const auto simulator = StartUnits({unit});
  WriteFileBytes(cli / "commands.txt", "VERSION\r\n\r\nSLEEP-300\nLOG\n");

  // The pause and the wait are timed in the fifty units' test.
  const CliResult result = cli.Run({"telnet", "127.96.0.1", "--port", std::to_string(kTelnetPort), "--commands",
                                    (cli / "commands.txt").string(), "--wait", "0.3", "--capture", "--json"});
  ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
  EXPECT_EQ(simulator->TelnetReceived("127.96.0.1", kTelnetPort).received, "VERSION\r\nLOG\r\nBYE\r\n");

  // With --json the unit's outcome is one object instead of its text. How the text is captured is pinned by the
  // core tests; here that it reaches the file.
  nlohmann::json outcome = nlohmann::json::parse(result.out);
  EXPECT_EQ(ReadFileBytes(outcome["capture"].get<std::string>()), Shown(Sent(unit)));
  outcome.erase("capture");
  EXPECT_EQ(outcome, nlohmann::json({{"row", nullptr}, {"host", "127.96.0.1"}, {"connected", true}, {"error", ""},
                                     {"commandsSent", true}, {"bytesReceived", Sent(unit).size()}}));
}

TEST_F(TelnetCommandTest, ARefusedConnectIsReportedOnStderrAndEndsWithExit1) {
  // Nothing listens there.
  const CliResult result =
      cli.Run({"telnet", "127.96.0.2", "--port", std::to_string(kTelnetPort), "--json", "--capture"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "quenderlink-cli: 127.96.0.2: The attempt to connect was forcefully rejected.\n");
  EXPECT_EQ(nlohmann::json::parse(result.out), nlohmann::json::parse(R"({"row": null, "host": "127.96.0.2",
              "connected": false, "error": "The attempt to connect was forcefully rejected.",
              "commandsSent": false, "bytesReceived": 0, "capture": null})"));
  EXPECT_FALSE(std::filesystem::exists(cli / "Capture"));
}

// Each unit's session lasts at least 300 ms (the pause and the wait): 50 units,
// 16 at a time, take four such turns, 17 at a time only three.
TEST_F(TelnetCommandTest, FiftyUnitsRunAtOnceWithWholePrefixedLinesAndACaptureFileEach) {
  constexpr int kUnits = 50;
  Strings hosts;
  std::vector<unitsim::UnitConfig> units;
  for (int unit = 1; unit <= kUnits; ++unit) {
    hosts.push_back("127.96.1." + std::to_string(unit));
    units.push_back(TelnetUnit(hosts.back()));
  }
  const auto simulator = StartUnits(units);
  const std::string file = WriteSites(hosts);
  ASSERT_TRUE(settings.WriteString("Ping Sites", "Max in Parallel", "16"));
  ASSERT_TRUE(
      settings.WriteStrings("TelnetCommand-2", {{"Cmnd1", "VERSION"}, {"Cmnd2", "SLEEP-100"}, {"Cmnd3", "LOG"}}));

  const auto start = std::chrono::steady_clock::now();
  const CliResult result = cli.Run({"telnet", "--sites", file, "--all", "--list", "2", "--wait", "0.2", "--capture"});
  const auto took = std::chrono::steady_clock::now() - start;
  RecordProperty("ms", static_cast<int>(took / 1ms));
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_GE(took, 1200ms) << "no more than 16 units at once";
  EXPECT_LT(took, 10s) << "units run at once";
  std::map<int, std::string> printed;
  for (const std::string& line : Lines(result.out)) {
    int row = 0;
    int length = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "[row %d] %n", &row, &length), 1) << line;
    printed[row] += line.substr(static_cast<std::size_t>(length)) + "\n";
  }
  const std::vector<std::filesystem::path> captures(std::filesystem::directory_iterator(cli / "Capture"), {});
  EXPECT_EQ(captures.size(), static_cast<std::size_t>(kUnits));
  for (int row = 1; row <= kUnits; ++row) {
    const unitsim::TelnetRecord record = simulator->TelnetReceived(hosts[row - 1], kTelnetPort);
    EXPECT_EQ(record.connections, 1) << row;
    EXPECT_EQ(record.received, "VERSION\r\nLOG\r\nBYE\r\n") << row;
    const std::string shown = Shown(Sent(units[row - 1]));
    EXPECT_NE(printed[row].find(shown), std::string::npos) << row << ":\n" << printed[row];
    const std::string name = " MP_12_R" + std::to_string(row) + ".txt";
    const auto capture =
        std::ranges::find_if(captures, [&](const auto& path) { return path.string().ends_with(name); });
    ASSERT_NE(capture, captures.end()) << row;
    EXPECT_EQ(ReadFileBytes(*capture), shown) << row;
  }
}

TEST_F(TelnetCommandTest, CtrlCSaysByeToTheConnectedUnitAndEndsWithExit1) {
  const auto simulator = StartUnits({TelnetUnit("127.96.2.1")});
  const pid_t process =
      cli.Start({"telnet", "127.96.2.1", "--port", std::to_string(kTelnetPort), "--wait", "60"});
  const auto connected = [&] { return simulator->TelnetReceived("127.96.2.1", kTelnetPort).connections == 1; };
  for (const auto deadline = Clock::now() + 5s; !connected() && Clock::now() < deadline;)
    std::this_thread::sleep_for(2ms);
  ASSERT_TRUE(connected());
  ::kill(process, SIGINT);
  const CliResult result = cli.Finish(process);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "quenderlink-cli: stopped\n");
  // A unit named on the command line has its text printed without a row's prefix.
  EXPECT_TRUE(result.out.starts_with("\nConnecting to ")) << result.out;
  EXPECT_EQ(simulator->TelnetReceived("127.96.2.1", kTelnetPort).received, "BYE\r\n");
}

TEST_F(TelnetCommandTest, BadInputEndsWithExit2) {
  const auto simulator = StartUnits({TelnetUnit("127.96.3.1")});
  const std::string file = WriteSites({"127.96.3.1"});
  for (const Strings& arguments : std::vector<Strings>{
           {"telnet"},
           {"telnet", "--sites", file},
           {"telnet", "--sites", file, "--rows", "1-2"},
           {"telnet", "127.96.3.1", "--sites", file, "--all"},
           {"telnet", "127.96.3.1", "--list", "3"},
           {"telnet", "127.96.3.1", "--commands", (cli / "missing.txt").string()},
       }) {
    const CliResult result = cli.Run(arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments.back() << "\n" << result.out << result.err;
    EXPECT_FALSE(result.err.empty()) << arguments.back();
  }
  EXPECT_EQ(simulator->TelnetReceived("127.96.3.1", kTelnetPort).connections, 0);
}

}  // namespace
}  // namespace quenderlink::testing
