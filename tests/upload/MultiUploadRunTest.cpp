#include <gtest/gtest.h>

#include <cctype>
#include <map>

#include "GoodUploadSteps.h"
#include "core/FixedText.h"
#include "support/TestSite.h"
#include "upload/UploadBoxesRun.h"
#include "upload/UploadListRun.h"

namespace quenderlink {
namespace {

using testing::SiteFields;
using testing::TestSite;

// Highlighted sites of rows 1 to `count` at one address; a site's milepost is "P <row>".
SiteTable HighlightedSites(int count) {
  std::vector<SiteRecord> records;
  for (int row = 1; row <= count; ++row) {
    SiteRecord site = TestSite(SiteFields{.address = "10.0.0.9", .row = static_cast<std::uint16_t>(row),
                                          .flags = kFlagHighlighted});
    SetFieldText(site.Milepost, "P " + std::to_string(row));
    records.push_back(site);
  }
  SiteTable sites;
  sites.Replace(records);
  return sites;
}

// Box 2 has a good upload, boxes 1 and 3 each a failure counted once.
TEST(UploadBoxesRunTest, EachUnitsStepsGoIntoItsOwnBoxAndAFailedUnitIsMarkedAndCountedOnce) {
  SiteTable sites = HighlightedSites(4);
  RuntimeParams params;
  std::map<std::size_t, std::string> logs;
  UploadBoxesRun run(sites, params, [&logs](std::size_t box, LogClass, const std::string& text) { logs[box] += text; });
  params.uploadMinWaitRamLoader = 6;
  run.FillBoxes();
  ASSERT_EQ(run.boxes().size(), 4u);
  EXPECT_EQ(run.boxes()[1].caption, "MP:P 2 (10.0.0.9::P9001) Click/Maximize");

  testing::TellGoodUploadToLastAck(run, 2, 1);
  EXPECT_EQ(run.boxes()[1].mark, BoxMark::Good);
  run.OnUploadEvent(UploadEvent::NewProgramPingSent, 2, 1);
  DeviceReply reply{};
  reply.VersionMajor = 4;
  reply.VersionMinor = 9;
  run.OnNewProgramAnswered(2, reply);
  run.OnUploadEvent(UploadEvent::RamLoaderGivenUp, 1, 13);
  run.OnUploadEvent(UploadEvent::PacketTimeout, 3, 0);
  run.OnUploadEvent(UploadEvent::PacketGivenUp, 3, 0);
  EXPECT_EQ(run.OnUploadEvent(UploadEvent::PacketGivenUp, 9, 0), std::nullopt);

  EXPECT_EQ(logs[1],
            "Starting Upload\nSending Ping #1 to TWD 2\nReceived Device ID\nTotal Packets to send = 1\n"
            "Sending \"Run RAM Loader\"\nWill wait 6 seconds for Ram Loader\nSending Ping #1 to RAM Loader\n"
            "Sending Packet 1 of 1 (RPT: 0)\nACK from field/got last packet\n"
            "Sending \"RE-BOOT\" RAM Loader to TWD 2\nSending Ping #1 to NEW Program\n"
            "SUCCESS! NEW PROGRAM Ver = 4.9\n");
  EXPECT_EQ(logs[0], "ERROR! Giving-Up! No response from RAM Loader after 13 pings\n");
  EXPECT_EQ(logs[2], "NO RESPONSE from TWD 3\nERROR! Giving-Up! TWD 3\n");
  EXPECT_EQ(run.boxes()[0].caption, "ERROR!");
  EXPECT_EQ(run.boxes()[0].mark, BoxMark::Failed);
  EXPECT_EQ(run.boxes()[1].caption, "Upload Complete!");
  EXPECT_EQ(run.tally().BoxesEndHeadline(),
            "          Upload is Complete!\r\n          Total Sites = 4,  Successful = 1,  Failed = 2");
  // The list and its file show the new program from now on, in its own site only.
  EXPECT_EQ(sites.FindByRow(2)->VersionMajor, 4);
  EXPECT_EQ(sites.FindByRow(2)->VersionMinor, 9);
  EXPECT_EQ(sites.FindByRow(1)->VersionMajor, 0);
}

TEST(UploadBoxesLayoutTest, SixteenBoxesAtMostAndTheFontFollowsTheCount) {
  SiteTable sites = HighlightedSites(17);
  RuntimeParams params;
  UploadBoxesRun run(sites, params, [](std::size_t, LogClass, const std::string&) {});
  run.FillBoxes();
  EXPECT_EQ(run.boxes().size(), 16u);
  EXPECT_EQ(run.tally().total, 16u);
  EXPECT_EQ(run.boxes().back().site.RowNumber, 16);

  EXPECT_TRUE(BoxFontFor(3).bold);
  EXPECT_EQ(BoxFontFor(3).height, 15);
  EXPECT_FALSE(BoxFontFor(4).bold);
  EXPECT_EQ(BoxFontFor(4).height, 13);
}

class UploadListRunTest : public ::testing::Test {
 protected:
  // Row 2 is not highlighted.
  void SetUp() override {
    sites[1].SiteFlags = 0;
    params.pingMaxResend = 3;
    params.pingMaxWaitResponse = 4;
    params.uploadMinWaitRamLoader = 6;
    run.FillList();
  }

  const UploadListRow& Row(std::size_t index) const { return run.rows()[index]; }

  SiteTable sites = HighlightedSites(3);
  RuntimeParams params;
  UploadListRun run{sites, params};
};

TEST_F(UploadListRunTest, ListsTheHighlightedSitesWaitingAndEachStepRewritesItsRowWithTheSettingsOfTheMoment) {
  ASSERT_EQ(run.rows().size(), 2u);
  EXPECT_EQ(FieldText(Row(1).site.Milepost), "P 3");
  EXPECT_EQ(Row(0).status, "Waiting . . .");
  EXPECT_FALSE(Row(0).kind.has_value());
  EXPECT_EQ(run.tally().RunningHeadline(),
            "Uploading Program to 2 sites.  Successful = 0    Failed = 0.    Please Wait ...");

  EXPECT_EQ(run.OnUploadEvent(UploadEvent::Start, 3, 0), 1u);
  EXPECT_EQ(Row(1).status, "IN PROCESS...");
  EXPECT_TRUE(Row(1).time.empty()) << "the start leaves the time column alone";

  run.OnUploadEvent(UploadEvent::IdentificationSent, 3, 1);
  EXPECT_EQ(Row(1).status, "Sending Ping 1 of 6, wait 4 sec for answer\n");
  const std::string& time = Row(1).time;
  EXPECT_TRUE(time.size() == 8 && time[2] == ':' && time[5] == ':' &&
              std::isdigit(static_cast<unsigned char>(time[0])) && std::isdigit(static_cast<unsigned char>(time[7])))
      << time;

  EXPECT_EQ(run.OnUploadEvent(UploadEvent::TotalPackets, 3, 57), std::nullopt);
  EXPECT_EQ(run.totalPackets(), 57u);
  run.OnUploadEvent(UploadEvent::IdentificationTimeout, 3, 0);
  EXPECT_EQ(Row(1).status, "Caution! No Response from TWD 3\n");
  EXPECT_EQ(Row(1).kind, LogClass::Caution);
  params.pingMaxWaitResponse = 9;
  run.OnPacketText(3, "Sending Packet 1 of 57 (RPT: 0)");
  EXPECT_EQ(Row(1).status, "Sending Packet 1 of 57 (RPT: 0), wait 9 secs for OK");
  EXPECT_EQ(run.OnUploadEvent(UploadEvent::Ack, 3, 0), std::nullopt);
  run.OnUploadEvent(UploadEvent::Fragmented, 3, 2);
  EXPECT_EQ(Row(1).status, "FRAGMENTED (Pkt Sent= 2)");
  run.OnUploadEvent(UploadEvent::NewProgramPingSent, 3, 2);
  EXPECT_EQ(Row(1).status, "Sending Ping 2 of 6 to NEW Program, wait 9 sec for OK");
}

TEST_F(UploadListRunTest, CountsAUnitOnceItsLastPacketIsTakenAndEachGivingUpAsFailed) {
  run.OnUploadEvent(UploadEvent::LastPacketAcknowledged, 1, 0);
  EXPECT_EQ(Row(0).status, "Sending Reboot RAM-Loader, wait 6 secs");
  run.OnUploadEvent(UploadEvent::NewProgramGivenUp, 1, 6);
  EXPECT_EQ(Row(0).status, "Program Loaded, but No Response from NEW Program!");
  run.OnUploadEvent(UploadEvent::RamLoaderGivenUp, 3, 13);
  EXPECT_EQ(Row(1).status, "CRITICAL ERROR! No Response from RAM-Loader");
  EXPECT_EQ(Row(1).kind, LogClass::Error);

  EXPECT_EQ(run.OnUploadEvent(UploadEvent::IdentificationGivenUp, 2, 6), std::nullopt) << "row 2 is not listed";
  EXPECT_EQ(run.tally().ListEndHeadline(),
            "  Upload is Complete!   Total Sites = 2,  Successful = 1,  Failed = 1");

  run.OnJobFailed(3, "OUT OF ASYNC SOCKETS");
  EXPECT_EQ(Row(1).status, "OUT OF ASYNC SOCKETS");
  EXPECT_EQ(run.tally().failed, 2u);
}

TEST_F(UploadListRunTest, TheNewProgramsAnswerIsWrittenIntoTheTableAndTheRow) {
  DeviceReply reply{};
  reply.VersionMajor = 4;
  reply.VersionMinor = 12;
  reply.ProductType = 6;
  SetFieldText(reply.Milepost, "GA 118.2");
  EXPECT_EQ(run.OnNewProgramAnswered(3, reply), 1u);
  EXPECT_EQ(Row(1).status, "SUCCESS: Response from Ver 4.12");
  EXPECT_EQ(Row(1).kind, LogClass::Success);
  const SiteRecord& stored = *sites.FindByRow(3);
  EXPECT_EQ(stored.VersionMajor, 4);
  EXPECT_EQ(FieldText(stored.Milepost), "GA 118.2");
  EXPECT_EQ(Row(1).site.VersionMinor, 12);
  EXPECT_EQ(sites.FindByRow(2)->VersionMajor, 0) << "the reply goes to its own site only";
}

}  // namespace
}  // namespace quenderlink
