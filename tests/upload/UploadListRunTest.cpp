#include <gtest/gtest.h>

#include <cctype>

#include "core/FixedText.h"
#include "support/TestSite.h"
#include "upload/UploadListRun.h"

namespace quenderlink {
namespace {

using testing::SiteFields;
using testing::TestSite;

class UploadListRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sites.Replace({TestSite(SiteFields{.name = "ONE", .address = "10.0.0.1", .row = 1, .flags = kFlagHighlighted}),
                   TestSite(SiteFields{.name = "SKIPPED", .address = "10.0.0.2", .row = 2}),
                   TestSite(SiteFields{.name = "THREE", .address = "10.0.0.3", .row = 3, .flags = kFlagHighlighted})});
    params.pingMaxResend = 3;
    params.pingMaxWaitResponse = 4;
    params.uploadMinWaitRamLoader = 6;
    run.FillList();
  }

  const UploadListRow& Row(std::size_t index) const { return run.rows()[index]; }

  SiteTable sites;
  RuntimeParams params;
  UploadListRun run{sites, params};
};

TEST_F(UploadListRunTest, ListsTheHighlightedSitesWaitingAndEachStepRewritesItsRowWithTheSettingsOfTheMoment) {
  ASSERT_EQ(run.rows().size(), 2u);
  EXPECT_EQ(FieldText(Row(1).site.SiteName), "THREE");
  EXPECT_EQ(Row(0).status, "Waiting . . .");
  EXPECT_FALSE(Row(0).kind.has_value());
  EXPECT_EQ(run.tally().RunningHeadline(),
            "Uploading Program to 2 sites.  Successful = 0    Failed = 0.    Please Wait ...");

  EXPECT_EQ(run.OnUploadEvent(kUploadStart, 3, 0), 1u);
  EXPECT_EQ(Row(1).status, "IN PROCESS...");
  EXPECT_TRUE(Row(1).time.empty()) << "the start leaves the time column alone";

  run.OnUploadEvent(kUploadIdentificationSent, 3, 1);
  EXPECT_EQ(Row(1).status, "Sending Ping 1 of 6, wait 4 sec for answer\n");
  const std::string& time = Row(1).time;
  EXPECT_TRUE(time.size() == 8 && time[2] == ':' && time[5] == ':' &&
              std::isdigit(static_cast<unsigned char>(time[0])) && std::isdigit(static_cast<unsigned char>(time[7])))
      << time;

  EXPECT_EQ(run.OnUploadEvent(kUploadTotalPackets, 3, 57), std::nullopt);
  EXPECT_EQ(run.totalPackets(), 57u);
  run.OnUploadEvent(kUploadIdentificationTimeout, 3, 0);
  EXPECT_EQ(Row(1).status, "Caution! No Response from TWD 3\n");
  EXPECT_EQ(Row(1).kind, LogClass::Caution);
  params.pingMaxWaitResponse = 9;
  run.OnPacketText(3, "Sending Packet 1 of 57 (RPT: 0)");
  EXPECT_EQ(Row(1).status, "Sending Packet 1 of 57 (RPT: 0), wait 9 secs for OK");
  EXPECT_EQ(run.OnUploadEvent(kUploadAck, 3, 0), std::nullopt);
  run.OnUploadEvent(kUploadFragmented, 3, 2);
  EXPECT_EQ(Row(1).status, "FRAGMENTED (Pkt Sent= 2)");
  run.OnUploadEvent(kUploadNewProgramPingSent, 3, 2);
  EXPECT_EQ(Row(1).status, "Sending Ping 2 of 6 to NEW Program, wait 9 sec for OK");
}

TEST_F(UploadListRunTest, CountsAUnitOnceItsLastPacketIsTakenAndEachGivingUpAsFailed) {
  run.OnUploadEvent(kUploadLastPacketAcknowledged, 1, 0);
  EXPECT_EQ(Row(0).status, "Sending Reboot RAM-Loader, wait 6 secs");
  run.OnUploadEvent(kUploadNewProgramGivenUp, 1, 6);
  EXPECT_EQ(Row(0).status, "Program Loaded, but No Response from NEW Program!");
  run.OnUploadEvent(kUploadRamLoaderGivenUp, 3, 13);
  EXPECT_EQ(Row(1).status, "CRITICAL ERROR! No Response from RAM-Loader");
  EXPECT_EQ(Row(1).kind, LogClass::Error);

  EXPECT_EQ(run.OnUploadEvent(kUploadIdentificationGivenUp, 2, 6), std::nullopt) << "row 2 is not listed";
  EXPECT_EQ(run.tally().successful, 1u);
  EXPECT_EQ(run.tally().failed, 1u);
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
