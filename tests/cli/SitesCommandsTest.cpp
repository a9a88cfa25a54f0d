#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/CliRunner.h"

namespace quenderlink::testing {
namespace {

constexpr std::size_t kHeader = 60;
constexpr std::size_t kRecord = 143;
const std::string kSignature = "Brindlemar Data File:: Quenderlink Site Recs";

std::uint16_t U16At(const std::string& bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[offset]) |
                                    static_cast<unsigned char>(bytes[offset + 1]) << 8);
}

std::string TextAt(const std::string& bytes, std::size_t offset, std::size_t width) {
  const std::string field = bytes.substr(offset, width);
  return field.substr(0, field.find('\0'));
}

TEST(SitesAdd, CreatesAMissingFileWithHeaderAndNewRecordDefaults) {
  CliRunner cli;
  const auto file = (cli / "sites.bin").string();
  const CliResult added = cli.Run({"sites", "add", file, "--host", "10.20.0.7", "--name", "Mile 12 East"});
  ASSERT_EQ(added.exitCode, 0) << added.err;

  const std::string bytes = ReadFileBytes(file);
  ASSERT_EQ(bytes.size(), kHeader + kRecord);
  EXPECT_EQ(bytes.substr(6, kSignature.size() + 1), kSignature + '\0');
  EXPECT_EQ(bytes.substr(51, 9), std::string(9, '\0'));
  EXPECT_GE(bytes[0], 1);
  EXPECT_LE(bytes[1], 12);

  const std::size_t r = kHeader;
  EXPECT_EQ(TextAt(bytes, r + 0, 24), "Mile 12 East");
  EXPECT_EQ(TextAt(bytes, r + 24, 10), "0.0");
  EXPECT_EQ(U16At(bytes, r + 34), 0);  // SiteId
  EXPECT_EQ(TextAt(bytes, r + 38, 18), "10.20.0.7");
  EXPECT_EQ(TextAt(bytes, r + 56, 47), "10.20.0.7");
  EXPECT_EQ(U16At(bytes, r + 104), 9001);
  EXPECT_EQ(U16At(bytes, r + 114), 0);  // telnet port: the setting's value is applied on load
  EXPECT_EQ(bytes.substr(r + 116, 27), std::string(27, '\0'));
}

TEST(SitesAdd, AppendsResolvesLocalNamesAndRefusesTextsTooLongForTheirField) {
  CliRunner cli;
  const auto file = (cli / "sites.bin").string();
  ASSERT_EQ(cli.Run({"sites", "add", file, "--host", "10.0.0.1"}).exitCode, 0);
  const CliResult second =
      cli.Run({"sites", "add", file, "--host", "localhost", "--port", "9005", "--telnet-port", "10002"});
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_NE(second.out.find("Added row 2"), std::string::npos);

  const auto sites = nlohmann::json::parse(cli.Run({"sites", "show", file, "--json"}).out);
  ASSERT_EQ(sites.size(), 2u);
  EXPECT_EQ(sites[1]["IpByNumber"], "127.0.0.1");
  EXPECT_EQ(sites[1]["DevicePort"], 9005);
  EXPECT_EQ(sites[1]["TelnetPort"], 10002);

  const CliResult tooLong = cli.Run({"sites", "add", file, "--host", "10.0.0.3", "--name", std::string(24, 'N')});
  EXPECT_EQ(tooLong.exitCode, 2);
  EXPECT_NE(tooLong.err.find("--name"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(file).size(), kHeader + 2 * kRecord);
}

TEST(SitesAdd, RefusesToAppendToAFileThatIsNotASiteList) {
  CliRunner cli;
  const auto file = cli / "notes.txt";
  WriteFileBytes(file, std::string(300, 'x'));
  EXPECT_EQ(cli.Run({"sites", "add", file.string(), "--host", "10.0.0.1"}).exitCode, 1);
  EXPECT_EQ(ReadFileBytes(file), std::string(300, 'x'));
}

TEST(SitesShow, JsonHasExactlyTheRecordFieldsInOrderWithTheTelnetDefaultApplied) {
  CliRunner cli;
  const auto file = (cli / "sites.bin").string();
  ASSERT_EQ(cli.Run({"sites", "add", file, "--host", "10.0.0.9", "--milepost", "101.4"}).exitCode, 0);
  ASSERT_EQ(cli.Run({"settings", "set", "MISC", "Telnet Port Trk1", "10500"}).exitCode, 0);

  const CliResult shown = cli.Run({"sites", "show", file, "--json"});
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  const auto site = nlohmann::ordered_json::parse(shown.out).at(0);
  std::vector<std::string> keys;
  for (const auto& item : site.items()) keys.push_back(item.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"SiteName", "Milepost", "SiteId", "SubdivCode", "IpByNumber", "HostText",
                                            "HiddenBuild", "DevicePort", "TrackIndex", "VersionMajor", "VersionMinor",
                                            "LastPing", "SiteFlags", "ProductType", "RowNumber", "TelnetPort",
                                            "CommVersion", "ReaderVersion", "SpeechVersion"}));
  EXPECT_EQ(site["Milepost"], "101.4");
  EXPECT_EQ(site["RowNumber"], 1);
  EXPECT_EQ(site["TelnetPort"], 10500);
  EXPECT_EQ(site["SiteName"], "??");
}

TEST(SitesShow, JsonCarriesEightBitNamesAsLatin1AndUtf8NamesUnchanged) {
  CliRunner cli;
  const auto file = (cli / "sites.bin").string();
  ASSERT_EQ(cli.Run({"sites", "add", file, "--host", "10.0.0.1", "--name", "Cr\xEAte"}).exitCode, 0);
  ASSERT_EQ(cli.Run({"sites", "add", file, "--host", "10.0.0.2", "--name", "Cr\xC3\xAAte"}).exitCode, 0);
  const auto sites = nlohmann::json::parse(cli.Run({"sites", "show", file, "--json"}).out);
  EXPECT_EQ(sites[0]["SiteName"], "Cr\xC3\xAAte");
  EXPECT_EQ(sites[1]["SiteName"], "Cr\xC3\xAAte");
}

TEST(SitesShow, RefusedFilesGiveTheCodeAndItsMeaningWithExit2) {
  CliRunner cli;
  WriteFileBytes(cli / "short.bin", std::string(60, '\0'));
  const CliResult tooShort = cli.Run({"sites", "show", (cli / "short.bin").string()});
  EXPECT_EQ(tooShort.exitCode, 2);
  EXPECT_NE(tooShort.err.find("201"), std::string::npos);

  const CliResult missing = cli.Run({"sites", "show", (cli / "missing.bin").string()});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(missing.err.find("200"), std::string::npos);
}

TEST(SitesExport, WritesTextAndCsvAndLeavesNoFileOnBadInput) {
  CliRunner cli;
  const auto file = (cli / "sites.bin").string();
  ASSERT_EQ(cli.Run({"sites", "add", file, "--host", "10.0.0.1", "--name", "Alpha"}).exitCode, 0);

  ASSERT_EQ(cli.Run({"sites", "export", file, "--format", "csv", "--out", (cli / "out.csv").string()}).exitCode, 0);
  EXPECT_EQ(ReadFileBytes(cli / "out.csv"),
            "Cnt,IP Address,Port,Name,Milepost,Track,Version,QZ_Comm,QZ_Rdr,QZ_Spch,LastPing\n"
            "1,10.0.0.1,9001,Alpha,0.0,Single,0.0,,,,????\n");
  ASSERT_EQ(cli.Run({"sites", "export", file, "--format", "txt", "--out", (cli / "out.txt").string()}).exitCode, 0);
  EXPECT_EQ(ReadFileBytes(cli / "out.txt").substr(0, 4), "Cnt ");

  EXPECT_EQ(cli.Run({"sites", "export", file, "--format", "xml", "--out", (cli / "out.xml").string()}).exitCode, 2);
  EXPECT_FALSE(std::filesystem::exists(cli / "out.xml"));
  WriteFileBytes(cli / "bad.bin", std::string(400, 'x'));
  EXPECT_EQ(cli.Run({"sites", "export", (cli / "bad.bin").string(), "--format", "csv", "--out",
                     (cli / "bad.csv").string()})
                .exitCode,
            2);
  EXPECT_FALSE(std::filesystem::exists(cli / "bad.csv"));
}

TEST(CommandLine, UsageErrorsExitWith2AndHelpWith0) {
  CliRunner cli;
  EXPECT_EQ(cli.Run({"no-such-command"}).exitCode, 2);
  EXPECT_EQ(cli.Run({"sites"}).exitCode, 2);
  EXPECT_EQ(cli.Run({"sites", "add", (cli / "s.bin").string()}).exitCode, 2);
  EXPECT_EQ(cli.Run({"sites", "add", (cli / "s.bin").string(), "--host", "10.0.0.1", "--port", "0"}).exitCode, 2);
  const CliResult help = cli.Run({"sites", "show", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("--json"), std::string::npos);
}

}  // namespace
}  // namespace quenderlink::testing
