#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/CliRunner.h"
#include "support/SiteListFile.h"

namespace quenderlink::testing {
namespace {

using ::testing::HasSubstr;

class SitesCommands : public ::testing::Test {
 protected:
  CliResult Add(std::vector<std::string> options) {
    options.insert(options.begin(), {"sites", "add", file});
    return cli.Run(options);
  }
  nlohmann::ordered_json Show() {
    return nlohmann::ordered_json::parse(cli.Run({"sites", "show", file, "--json"}).out);
  }
  CliResult Export(std::vector<std::string> options) {
    options.insert(options.begin(), {"sites", "export", file});
    return cli.Run(options);
  }

  CliRunner cli;
  const std::string file = (cli / "sites.bin").string();
};

TEST_F(SitesCommands, AddCreatesAppendsResolvesLocalNamesAndRefusesWhatDoesNotFit) {
  ASSERT_EQ(Add({"--host", "10.0.0.1"}).exitCode, 0);
  const CliResult second = Add({"--host", "localhost", "--name", "Cr\u00EAte", "--milepost", "101.4", "--port", "9005",
                                "--telnet-port", "10002"});
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_NE(second.out.find("Added row 2"), std::string::npos);
  ASSERT_EQ(cli.Run({"settings", "set", "MISC", "Telnet Port Trk1", "10500"}).exitCode, 0);

  const auto sites = Show();
  ASSERT_EQ(sites.size(), 2u);
  // The first site's telnet port is stored as 0: the setting applies on load.
  EXPECT_EQ(sites[0]["SiteName"], "??");
  EXPECT_EQ(sites[0]["TelnetPort"], 10500);
  // The name is stored as its one Windows-1252 byte and shown in UTF-8; every field in its order.
  EXPECT_EQ(ReadFileBytes(file).substr(60 + 143, 6), std::string("Cr\xEAte\0", 6));
  EXPECT_EQ(sites[1].dump(),
            R"({"SiteName":"Cr)" "\xC3\xAA" R"(te","Milepost":"101.4","SiteId":0,"SubdivCode":0,)"
            R"("IpByNumber":"127.0.0.1","HostText":"localhost","HiddenBuild":0,"DevicePort":9005,"TrackIndex":0,)"
            R"("VersionMajor":0,"VersionMinor":0,"LastPing":0,"SiteFlags":0,"ProductType":0,"RowNumber":2,)"
            R"("TelnetPort":10002,"CommVersion":"","ReaderVersion":"","SpeechVersion":""})");

  const CliResult tooLong = Add({"--host", "10.0.0.3", "--name", std::string(24, 'N')});
  EXPECT_EQ(tooLong.exitCode, 2);
  EXPECT_NE(tooLong.err.find("--name"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(file).size(), 60u + 2 * 143u);
  // A name of 23 characters fits, though its UTF-8 is longer; what Windows-1252 cannot hold is told.
  const CliResult replaced = Add({"--host", "10.0.0.4", "--name", "\u00C9tang \u03A9 " + std::string(14, 'N')});
  ASSERT_EQ(replaced.exitCode, 0) << replaced.err;
  EXPECT_EQ(replaced.err, "--name had characters a site list cannot hold; they were stored as \"?\"\n");
  EXPECT_EQ(Show()[2]["SiteName"], "\u00C9tang ? " + std::string(14, 'N'));

  WriteFileBytes(cli / "notes.txt", std::string(300, 'x'));
  EXPECT_EQ(cli.Run({"sites", "add", (cli / "notes.txt").string(), "--host", "10.0.0.1"}).exitCode, 1);
}

// The book's name and contents and the refusal of a template that is no workbook are SiteWorkbookExportTest's.
TEST_F(SitesCommands, ExportWritesTextCsvAndXlsxFromTheHomeTemplateUnlessAnotherIsNamedAndLeavesNoFileOnBadInput) {
  ASSERT_EQ(Add({"--host", "10.0.0.1", "--name", "Alpha"}).exitCode, 0);
  ASSERT_EQ(Export({"--format", "csv", "--out", (cli / "out.csv").string()}).exitCode, 0);
  EXPECT_NE(ReadFileBytes(cli / "out.csv").find("\n1,10.0.0.1,9001,Alpha,"), std::string::npos);
  ASSERT_EQ(Export({"--format", "txt", "--out", (cli / "out.txt").string()}).exitCode, 0);
  EXPECT_EQ(ReadFileBytes(cli / "out.txt").substr(0, 4), "Cnt ");
  EXPECT_EQ(Export({"--format", "xml", "--out", (cli / "out.xml").string()}).exitCode, 2);
  EXPECT_FALSE(std::filesystem::exists(cli / "out.xml"));
  WriteFileBytes(cli / "bad.bin", std::string(400, 'x'));
  const std::string bad = (cli / "bad.csv").string();
  EXPECT_EQ(cli.Run({"sites", "export", (cli / "bad.bin").string(), "--format", "csv", "--out", bad}).exitCode, 2);
  EXPECT_FALSE(std::filesystem::exists(bad));

  const CliResult inHome = Export({"--format", "xlsx"});
  ASSERT_EQ(inHome.exitCode, 0) << inHome.err;
  const std::filesystem::path written = inHome.out.substr(0, inHome.out.find('\n'));
  EXPECT_EQ(written.parent_path(), cli.home());
  EXPECT_EQ(ReadFileBytes(written).substr(0, 2), "PK");

  const CliResult told = Export({"--format", "xlsx", "--out", (cli / "book.xlsx").string()});
  ASSERT_EQ(told.exitCode, 0) << told.err;
  EXPECT_EQ(told.out, (cli / "book.xlsx").string() + "\n");

  WriteFileBytes(cli / "ExcelTemplateDetectors_V97.xlsx", "not a workbook");
  EXPECT_EQ(Export({"--format", "xlsx", "--out", (cli / "a.xlsx").string()}).exitCode, 1);
  const CliResult named =
      Export({"--format", "xlsx", "--out", (cli / "b.xlsx").string(), "--template", (cli / "book.xlsx").string()});
  EXPECT_EQ(named.exitCode, 0) << named.err;

  const CliResult noOut = Export({"--format", "txt"});
  EXPECT_EQ(noOut.exitCode, 2);
  EXPECT_THAT(noOut.err, HasSubstr("--out"));
  const std::string out = (cli / "x.csv").string();
  EXPECT_EQ(Export({"--format", "csv", "--out", out, "--template", file}).exitCode, 2);
  EXPECT_EQ(Export({"--format", "xlsx", "--template", (cli / "missing.xlsx").string()}).exitCode, 2);
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(SitesCommands, UsageErrorsAndUnloadableFilesExitWith2AndHelpWith0) {
  const CliResult missing = cli.Run({"sites", "show", (cli / "missing.bin").string()});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(missing.err.find("200"), std::string::npos);  // the load's code
  // A new blank list, a header alone, is a list of no sites.
  WriteSiteList(file, {});
  const CliResult blank = cli.Run({"sites", "show", file, "--json"});
  ASSERT_EQ(blank.exitCode, 0) << blank.err;
  EXPECT_EQ(nlohmann::json::parse(blank.out).size(), 0u);
  EXPECT_EQ(cli.Run({"sites"}).exitCode, 2);
  EXPECT_EQ(Add({}).exitCode, 2);
  EXPECT_EQ(Add({"--host", "10.0.0.1", "--port", "0"}).exitCode, 2);
  const CliResult help = cli.Run({"sites", "show", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("--json"), std::string::npos);
}

}  // namespace
}  // namespace quenderlink::testing
