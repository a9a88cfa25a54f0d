#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "cli/CliRunner.h"
#include "core/IniSettingsFile.h"
#include "journal/JournalTestRows.h"
#include "net/EngineRecorder.h"
#include "support/SiteListFile.h"
#include "support/TestSite.h"

namespace quenderlink::testing {
namespace {

using unitsim::UnitConfig;

// The engines' events, result texts and record updates are pinned by their own tests; these
// show that each command runs them, saves what they found and ends with its exit code.
class DeviceCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings.EnsureIniFile();
    ASSERT_TRUE(settings.WriteStrings("Ping Sites", {{"Max Wait Response", "0"}, {"Max Resend", "2"}}));
  }

  CliRunner cli;
  IniSettingsFile settings{cli.home()};
};

TEST_F(DeviceCommandsTest, PingWritesWhatUnitsReportAndMarksTheSilentOnesFailedAndResetsLeaveTheFileAlone) {
  const auto simulator = StartUnits({Unit("127.70.0.1"), Unit("127.70.0.2")});
  const std::string file =
      WriteSiteList(cli / "sites.bin", {TestSite({.address = "127.70.0.1"}), TestSite({.address = "127.70.0.2"}),
                                        TestSite({.address = "127.70.0.3"}), TestSite({.address = "bad name!"})});

  const CliResult result = cli.Run({"ping", file, "--rows", "1-3,4", "--json"});
  EXPECT_EQ(result.exitCode, 1) << result.err;
  const auto lines = JsonLines(result.out);
  ASSERT_GE(lines.size(), 3u) << result.err;
  EXPECT_EQ(lines[0]["msg"], 1381);  // the bad name, before the start
  const auto summary = lines.back()["summary"];
  ASSERT_EQ(summary.size(), 4u);
  EXPECT_EQ(summary[3].dump(), R"({"RowNumber":4,"HostText":"bad name!","Results":"FAILED: Bad IP","LastPing":253})");
  EXPECT_EQ(FieldText(LoadedSiteList(file)[1].SiteName), "SITE 127.70.0.2");

  const std::string before = ReadFileBytes(file);
  const CliResult listed = cli.Run({"ping", file, "--rows", "1", "--reset"});
  EXPECT_EQ(listed.exitCode, 0) << listed.err;
  EXPECT_NE(listed.out.find("Cadmarin was Reset:  0."), std::string::npos) << listed.out;
  EXPECT_EQ(ReadFileBytes(file), before);
  EXPECT_EQ(cli.Run({"reset", "127.70.0.1"}).exitCode, 0);
  EXPECT_EQ(cli.Run({"reset", "127.70.0.3", "--port", "9001"}).exitCode, 1);
}

TEST_F(DeviceCommandsTest, InterruptedPingEndsAsUserAbort) {
  ASSERT_TRUE(settings.WriteString("Ping Sites", "Max Wait Response", "30"));
  const auto simulator = StartUnits({Unit("127.70.2.1", {.silent = true})});
  const std::string file = WriteSiteList(cli / "sites.bin", {TestSite({.address = "127.70.2.1"})});
  const pid_t process = cli.Start({"ping", file});
  // Pinging, the tool takes Ctrl-C as an abort.
  ASSERT_FALSE(AwaitReceived(*simulator, "127.70.2.1", 1).empty());
  ::kill(process, SIGINT);
  const CliResult result = cli.Finish(process);
  EXPECT_EQ(result.exitCode, 1);
  // The row's "USER ABORT" is PingSitesRunTest's, its printing the reset listing's check above.
  EXPECT_EQ(LoadedSiteList(file)[0].LastPing, kLastPingUserAbort);
  // The journal was written before the tool ended: the run aborted, its unit's result too.
  EXPECT_EQ(JournalRows(cli / "journal.sqlite",
                        "SELECT runs.ending, r.outcome FROM runs JOIN results r ON r.run = runs.id"),
            std::vector<std::string>{"2|4"});
}

TEST_F(DeviceCommandsTest, APingWhoseFileAnotherProgramSavedDuringTheRunSavesNothingAndExits1) {
  ASSERT_TRUE(settings.WriteString("Ping Sites", "Max Wait Response", "30"));
  const std::string file = WriteSiteList(cli / "sites.bin", {TestSite({.address = "127.70.2.2"})});
  const pid_t process = cli.Start({"ping", file, "--json"});
  // The engine's first event comes after the load; the silent unit keeps the run going till Ctrl-C.
  ASSERT_TRUE(cli.WaitForFirstLine(std::chrono::seconds(10)));
  const std::string others = ReadFileBytes(WriteSiteList(file, {TestSite({.name = "other", .address = "127.70.2.3"})}));
  ::kill(process, SIGINT);
  const CliResult result = cli.Finish(process);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find(file + ": the file was changed by another program since it was opened; "
                                   "the results were not saved\n"),
            std::string::npos)
      << result.err;
  EXPECT_EQ(ReadFileBytes(file), others);
}

TEST_F(DeviceCommandsTest, ScanFindsUnitsAndSavesThemAsANewList) {
  const auto simulator = StartUnits({Unit("127.70.3.1"), Unit("127.70.3.3")});
  const std::string saved = (cli / "found.bin").string();
  const CliResult result = cli.Run({"scan", "127.70.3.1-3", "--port", "9001", "--new", saved});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("Total of 2 records were saved to"), std::string::npos) << result.out;
  EXPECT_EQ(LoadedSiteList(saved).size(), 2u);
  EXPECT_EQ(settings.ReadString("Ping Range", "From IP", ""), "127.70.3.1");
}

TEST_F(DeviceCommandsTest, UploadSendsTheImageAndStoresTheNewProgramsVersion) {
  ASSERT_TRUE(settings.WriteString("Ping Sites", "Max Wait Response", "2"));
  ASSERT_TRUE(settings.WriteStrings("Upload Pgm", {{"Min Wait RAMLoader", "0"}, {"Min Wait Sys Reboot", "0"}}));
  UnitConfig unit = Unit("127.70.5.1");
  unit.identity.productType = 2;
  unit.upload.newVersionMajor = 3;
  unit.upload.newVersionMinor = 8;
  const auto simulator = StartUnits({unit});
  // A Cad-1 unit; the second one's type is unknown.
  const std::string file = WriteSiteList(
      cli / "sites.bin", {TestSite({.address = "127.70.5.1", .product = 2}), TestSite({.address = "127.70.5.2"})});
  const auto program = cli / "cad1.bin";
  WriteFileBytes(program, "\xC3 No axle count from QZ! Getting Train Header from QZ " + std::string(3000, 'p'));

  const CliResult uploaded = cli.Run({"upload", program.string(), "--sites", file, "--rows", "1"});
  ASSERT_EQ(uploaded.exitCode, 0) << uploaded.out << uploaded.err;
  EXPECT_NE(uploaded.out.find("[row 1] SUCCESS! Response from NEW PROGRAM; Ver = 3.8"), std::string::npos);
  EXPECT_EQ(LoadedSiteList(file)[0].VersionMinor, 8);

  const CliResult json = cli.Run({"upload", program.string(), "--sites", file, "--rows", "1", "--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const auto lines = JsonLines(json.out);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0]["msg"], 1424);
  EXPECT_EQ(lines.back()["summary"]["Result"], "SUCCESS");

  // A unit of unknown type needs --yes, as the desktop program would ask.
  const CliResult refused = cli.Run({"upload", program.string(), "--sites", file, "--rows", "2"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("Error ID: 208"), std::string::npos) << refused.err;
  EXPECT_TRUE(simulator->ReceivedBy("127.70.5.2", 9001).empty());
}

TEST_F(DeviceCommandsTest, DecodeShowsTheReplyFieldsOrRefusesWithExit1) {
  std::string datagram =
      std::string("\x01\x00\x00\x00\x00\x04\x00\x00", 8) + "CAD: RDY|CSX|3.7-2|12.5|N_|0|Bellwood|" + '\0';
  datagram[2] = static_cast<char>(datagram.size() - 8);
  std::string hex;
  for (unsigned char byte : datagram) hex += "0123456789abcdef"[byte >> 4], hex += "0123456789abcdef"[byte & 15];

  const CliResult decoded = cli.Run({"decode", hex, "--from", "10.1.2.3:9001", "--json"});
  ASSERT_EQ(decoded.exitCode, 0) << decoded.err;
  // Every field in its order; their values are the decoder's.
  EXPECT_EQ(decoded.out,
            R"({"Reserved":0,"VersionMajor":3,"VersionMinor":7,"SiteId":0,"SubdivCode":0,"Milepost":"12.5",)"
            R"("TrackId":"N_","SiteName":"Bellwood","SubdivName":"","HostText":"","VersionBuild":2,)"
            R"("IpText":"10.1.2.3","ExtraText":"","MaxDatagram":1024,"ProgramKind":0,"ReplyPort":9001,)"
            R"("BlockSize":4096,"TrackIndex":1,"ReplyTenths":0,"ProductType":2,"Powerup":0,"RowNumber":0,)"
            R"("LastUploadCode":0,"CommVersion":"Comm??","ReaderVersion":"Rdr???","SpeechVersion":"Spch??"})" "\n");
  EXPECT_EQ(cli.Run({"decode", "0100000000000000"}).exitCode, 1);
  EXPECT_EQ(cli.Run({"decode", "01zz"}).exitCode, 2);
}

}  // namespace
}  // namespace quenderlink::testing
