#include <gtest/gtest.h>

#include <csignal>

#include "cli/CliRunner.h"
#include "core/IniSettingsFile.h"
#include "net/EngineRecorder.h"
#include "support/SiteListFile.h"
#include "support/TestSite.h"

namespace quenderlink::testing {
namespace {

// The line parser, the rows' outcomes and the saves are pinned by their own
// tests; these show the command reads, pings, writes and ends with its exit code.
class ImportCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings.EnsureIniFile();
    ASSERT_TRUE(settings.WriteStrings("Ping Sites", {{"Max Wait Response", "0"}, {"Max Resend", "2"}}));
  }

  std::string Csv(const std::string& bytes) {
    WriteFileBytes(cli / "sites.csv", bytes);
    return (cli / "sites.csv").string();
  }

  CliRunner cli;
  IniSettingsFile settings{cli.home()};
};

TEST_F(ImportCommandTest, PingsAppendsTheAnsweringNewSitesAndTellsOfEveryRow) {
  unitsim::UnitConfig unit = Unit("127.101.0.1");
  unit.identity.siteName = "Iron Bridge";
  const auto simulator = StartUnits({unit, Unit("127.101.0.2")});
  const auto list = cli / "sites.bin";
  WriteSiteList(list, {TestSite({.name = "Listed", .address = "127.101.0.2"})});

  // As a spreadsheet program writes it: byte-order mark, CR LF, a quoted name with a comma.
  const std::string csv = Csv("\xEF\xBB\xBF" "Address,Port,Name\r\n"
                              "127.101.0.1,9001,\"Bridge, north\"\r\n"
                              "127.101.0.2,9001,Listed again\r\n"
                              "127.101.0.3,9001,Silent\r\n");
  const CliResult result = cli.Run({"import", csv, "--ip-col", "1", "--port-col", "2", "--name-col", "3", "--append",
                                    list.string(), "--ping", "--successful-only", "--json"});
  EXPECT_EQ(result.exitCode, 1) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 5u) << result.out << result.err;
  EXPECT_EQ(lines[0], R"({"line":1,"host":"Address","port":"9001","name":"Name","result":"not answered","status":"BAD IP"})");
  EXPECT_EQ(nlohmann::json::parse(lines[1])["result"], "written");
  EXPECT_EQ(nlohmann::json::parse(lines[2])["result"], "already listed");
  EXPECT_EQ(nlohmann::json::parse(lines[3])["result"], "not answered");
  EXPECT_EQ(lines[4], R"({"totals":{"rows":4,"written":1,"not_written":3,"pinged":3,"success":2,"failed":2}})");
  EXPECT_EQ(SiteNames(LoadedSiteList(list)), (std::vector<std::string>{"Listed", "Iron Bridge"}));
}

TEST_F(ImportCommandTest, AnInterruptedPingWritesNothingAndExits1) {
  const auto simulator = StartUnits({Unit("127.101.3.1", {.silent = true})});
  ASSERT_TRUE(settings.WriteString("Ping Sites", "Max Wait Response", "30"));
  const auto out = cli / "out.bin";
  const pid_t process = cli.Start({"import", Csv("127.101.3.1\n127.101.3.2\n"), "--ip-col", "1", "--ping", "--new",
                                   out.string()});
  // Pinging, the tool takes Ctrl-C as an abort.
  ASSERT_FALSE(AwaitReceived(*simulator, "127.101.3.1", 1).empty());
  ::kill(process, SIGINT);
  const CliResult result = cli.Finish(process);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("the ping was interrupted; nothing was written"), std::string::npos) << result.err;
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(ImportCommandTest, WritesEveryRowOfAWindows1252FileToANewFileWithoutAPing) {
  const std::string csv = Csv("; yard list\n127.101.1.1,North\n127.101.1.1,Cr\xEAte\n");
  const CliResult result =
      cli.Run({"import", csv, "--ip-col", "1", "--name-col", "2", "--new", (cli / "new.bin").string()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, csv + ": read as Windows-1252 text\n");
  // Columns line up by characters: "ê" is two bytes on the terminal.
  for (const char* line : {"line     2  127.101.1.1               9001  North                    written",
                           "line     3  127.101.1.1               9001  Cr\u00eate                    written"})
    EXPECT_NE(result.out.find(line), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("Rows: 2  Written: 2  Not written: 0"), std::string::npos) << result.out;
  EXPECT_EQ(SiteNames(LoadedSiteList(cli / "new.bin")), (std::vector<std::string>{"North", "Cr\xEAte"}));
}

TEST_F(ImportCommandTest, BadInputWritesNothingAndExits2) {
  const std::string csv = Csv("127.101.2.1\n");
  const std::string out = (cli / "out.bin").string();
  const std::vector<std::vector<std::string>> cases = {
      {"import", (cli / "missing.csv").string(), "--ip-col", "1", "--new", out},
      {"import", csv, "--new", out},
      {"import", csv, "--ip-col", "13", "--new", out},
      {"import", csv, "--ip-col", "1"},
      {"import", csv, "--ip-col", "1", "--new", out, "--successful-only"},
  };
  for (const auto& arguments : cases) {
    const CliResult result = cli.Run(arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments[1] << " " << arguments[2] << ": " << result.err;
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

}  // namespace
}  // namespace quenderlink::testing
