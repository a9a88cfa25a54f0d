#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/CliRunner.h"
#include "core/CSiteinfoClass.h"
#include "core/FixedText.h"
#include "core/IniSettingsFile.h"
#include "support/TelnetTestUnits.h"

namespace quenderlink::testing {
namespace {

using namespace std::chrono_literals;
using Session = TelnetTestUnits::Session;
using Strings = std::vector<std::string>;

Strings Lines(const std::string& text) {
  Strings lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

Strings Received(const Session& session) {
  Strings lines;
  for (const auto& [line, when] : session.lines) lines.push_back(line);
  return lines;
}

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code missing;
  for (const auto& entry : std::filesystem::directory_iterator(folder, missing)) files.push_back(entry.path());
  return files;
}

class TelnetCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(settings.EnsureIniFile()); }

  // A site list with a record per test unit, all on one milepost and track.
  std::string WriteSites(const TelnetTestUnits& units, const Strings& hosts) {
    std::vector<SiteRecord> records;
    for (std::size_t i = 0; i < hosts.size(); ++i) {
      SiteRecord& site = records.emplace_back(NewSiteRecord(9001));
      SetFieldText(site.HostText, hosts[i]);
      SetFieldText(site.Milepost, "12.5");
      site.TelnetPort = units.port(i);
    }
    SiteTable table;
    table.Replace(records);
    EXPECT_TRUE(CSiteinfoClass().SaveAll(cli / "sites.bin", table));
    return (cli / "sites.bin").string();
  }

  CliRunner cli;
  IniSettingsFile settings{cli.home()};
};

TEST_F(TelnetCommandTest, OneUnitGetsItsCommandsPausedAsListedThenByeAndItsTextIsShownAndCaptured) {
  TelnetTestUnits units({"127.96.0.1"});
  WriteFileBytes(cli / "commands.txt", "STATUS\r\n\r\nSLEEP-300\nLOG\n");
  const std::string port = std::to_string(units.port(0));

  const CliResult result = cli.Run({"telnet", "127.96.0.1", "--port", port, "--commands",
                                    (cli / "commands.txt").string(), "--wait", "0.3", "--capture"});
  ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
  const std::vector<Session> sessions = units.sessions(0);
  ASSERT_EQ(sessions.size(), 1u);
  ASSERT_EQ(Received(sessions[0]), (Strings{"STATUS", "LOG", "BYE"}));
  // The unit notes a line when it has come, so a little of a wait may pass before.
  const auto& lines = sessions[0].lines;
  EXPECT_GE(lines[1].second - lines[0].second, 200ms) << "the pause";
  EXPECT_GE(lines[2].second - lines[1].second, 200ms) << "the wait for the answer";

  // How the text is shown and captured is pinned by the core tests; here that it reaches stdout and the file.
  const std::string shown = ShownText(sessions[0].sent);
  EXPECT_NE(result.out.find("**************\n" + shown), std::string::npos) << result.out;
  const std::vector<std::filesystem::path> captures = FilesIn(cli / "Capture");
  ASSERT_EQ(captures.size(), 1u);
  EXPECT_EQ(ReadFileBytes(captures[0]), shown);
}

TEST_F(TelnetCommandTest, ARefusedConnectIsReportedOnStderrAndEndsWithExit1) {
  const std::uint16_t closedPort = RefusingPort("127.96.0.2");
  const CliResult result =
      cli.Run({"telnet", "127.96.0.2", "--port", std::to_string(closedPort), "--json", "--capture"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "quenderlink-cli: 127.96.0.2: The attempt to connect was forcefully rejected.\n");
  EXPECT_EQ(nlohmann::json::parse(result.out), nlohmann::json::parse(R"({"row": null, "host": "127.96.0.2",
              "connected": false, "error": "The attempt to connect was forcefully rejected.",
              "commandsSent": false, "bytesReceived": 0, "capture": null})"));
  EXPECT_TRUE(FilesIn(cli / "Capture").empty());
}

TEST_F(TelnetCommandTest, FiftyUnitsRunAtOnceWithWholePrefixedLinesAndACaptureFileEach) {
  constexpr int kUnits = 50;
  constexpr int kMaxInParallel = 16;
  Strings hosts;
  for (int unit = 1; unit <= kUnits; ++unit) hosts.push_back("127.96.1." + std::to_string(unit));
  TelnetTestUnits units(hosts);
  const std::string file = WriteSites(units, hosts);
  ASSERT_TRUE(settings.WriteString("Ping Sites", "Max in Parallel", std::to_string(kMaxInParallel)));
  ASSERT_TRUE(
      settings.WriteStrings("TelnetCommand-2", {{"Cmnd1", "STATUS"}, {"Cmnd2", "SLEEP-100"}, {"Cmnd3", "LOG"}}));

  const auto start = std::chrono::steady_clock::now();
  const CliResult result = cli.Run({"telnet", "--sites", file, "--all", "--list", "2", "--wait", "0.2", "--capture"});
  RecordProperty("ms", static_cast<int>((std::chrono::steady_clock::now() - start) / 1ms));
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_LE(units.mostAtOnce(), kMaxInParallel);
  EXPECT_GE(units.mostAtOnce(), kMaxInParallel / 2) << "units run at once";
  std::map<int, std::string> printed;
  for (const std::string& line : Lines(result.out)) {
    int row = 0;
    int length = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "[row %d] %n", &row, &length), 1) << line;
    printed[row] += line.substr(static_cast<std::size_t>(length)) + "\n";
  }
  const std::vector<std::filesystem::path> captures = FilesIn(cli / "Capture");
  EXPECT_EQ(captures.size(), static_cast<std::size_t>(kUnits));
  for (int row = 1; row <= kUnits; ++row) {
    const std::vector<Session> sessions = units.sessions(static_cast<std::size_t>(row - 1));
    ASSERT_EQ(sessions.size(), 1u) << row;
    EXPECT_EQ(Received(sessions[0]), (Strings{"STATUS", "LOG", "BYE"})) << row;
    const std::string shown = ShownText(sessions[0].sent);
    EXPECT_NE(printed[row].find(shown), std::string::npos) << row << ":\n" << printed[row];
    const std::string name = " MP_12_R" + std::to_string(row) + ".txt";
    const auto capture =
        std::ranges::find_if(captures, [&](const auto& path) { return path.string().ends_with(name); });
    ASSERT_NE(capture, captures.end()) << row;
    EXPECT_EQ(ReadFileBytes(*capture), shown) << row;
  }

  const CliResult json =
      cli.Run({"telnet", "--sites", file, "--rows", "1-50", "--list", "2", "--wait", "0.2", "--capture", "--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  std::set<int> reported;
  for (const std::string& line : Lines(json.out)) {
    const nlohmann::json unit = nlohmann::json::parse(line);
    reported.insert(unit["row"].get<int>());
    const std::string sent = units.sessions(unit["row"].get<std::size_t>() - 1).back().sent;
    EXPECT_EQ(unit["host"], hosts[unit["row"].get<std::size_t>() - 1]);
    EXPECT_TRUE(unit["connected"] == true && unit["commandsSent"] == true && unit["error"] == "") << line;
    EXPECT_EQ(unit["bytesReceived"], sent.size()) << line;
    EXPECT_EQ(ReadFileBytes(unit["capture"].get<std::string>()), ShownText(sent)) << line;
  }
  EXPECT_EQ(reported.size(), static_cast<std::size_t>(kUnits));
}

TEST_F(TelnetCommandTest, CtrlCSaysByeToTheConnectedUnitAndEndsWithExit1) {
  TelnetTestUnits units({"127.96.2.1"});
  const pid_t process = cli.Start({"telnet", "127.96.2.1", "--port", std::to_string(units.port(0)), "--wait", "60"});
  ASSERT_TRUE(units.WaitForConnection(0));
  ::kill(process, SIGINT);
  const CliResult result = cli.Finish(process);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "quenderlink-cli: stopped\n");
  EXPECT_EQ(Received(units.sessions(0).at(0)), Strings{"BYE"});
}

TEST_F(TelnetCommandTest, BadInputEndsWithExit2) {
  TelnetTestUnits units({"127.96.3.1", "127.96.3.2"});
  const std::string file = WriteSites(units, {"127.96.3.1", "127.96.3.2"});
  for (const Strings& arguments : std::vector<Strings>{
           {"telnet"},
           {"telnet", "--sites", file},
           {"telnet", "--sites", file, "--rows", "2-3"},
           {"telnet", "127.96.3.1", "--sites", file, "--all"},
           {"telnet", "127.96.3.1", "--list", "3"},
           {"telnet", "127.96.3.1", "--commands", (cli / "missing.txt").string()},
       }) {
    const CliResult result = cli.Run(arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments.back() << "\n" << result.out << result.err;
    EXPECT_FALSE(result.err.empty()) << arguments.back();
  }
  EXPECT_TRUE(units.sessions(0).empty() && units.sessions(1).empty());
}

}  // namespace
}  // namespace quenderlink::testing
