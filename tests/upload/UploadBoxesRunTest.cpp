#include <gtest/gtest.h>

#include <map>

#include "core/FixedText.h"
#include "support/TestSite.h"
#include "upload/UploadBoxesRun.h"

namespace quenderlink {
namespace {

using testing::SiteFields;
using testing::TestSite;

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

class UploadBoxesRunTest : public ::testing::Test {
 protected:
  SiteTable sites = HighlightedSites(4);
  RuntimeParams params;
  std::map<std::size_t, std::string> logs;
  UploadBoxesRun run{sites, params, [this](std::size_t box, LogClass, const std::string& text) { logs[box] += text; }};
};

// Box 2 has a good upload, the others each a failure counted once.
TEST_F(UploadBoxesRunTest, EachUnitsStepsGoIntoItsOwnBoxAndAFailedUnitIsMarkedAndCountedOnce) {
  params.uploadMinWaitRamLoader = 6;
  run.FillBoxes();
  ASSERT_EQ(run.boxes().size(), 4u);
  EXPECT_EQ(run.boxes()[1].caption, "MP:P 2 (10.0.0.9::P9001) Click/Maximize");

  run.OnUploadEvent(kUploadStart, 2, 0);
  run.OnUploadEvent(kUploadIdentificationSent, 2, 1);
  run.OnUploadEvent(kUploadIdentificationReceived, 2, 0);
  run.OnUploadEvent(kUploadTotalPackets, 2, 1);
  run.OnUploadEvent(kUploadRunRamLoaderSent, 2, 0);
  run.OnUploadEvent(kUploadRamLoaderPingSent, 2, 1);
  run.OnPacketText(2, "Sending Packet 1 of 1 (RPT: 0)");
  run.OnUploadEvent(kUploadAck, 2, 0);
  run.OnUploadEvent(kUploadLastPacketAcknowledged, 2, 0);
  EXPECT_EQ(run.boxes()[1].mark, BoxMark::Good);
  run.OnUploadEvent(kUploadNewProgramPingSent, 2, 1);
  DeviceReply reply{};
  reply.VersionMajor = 4;
  reply.VersionMinor = 9;
  run.OnNewProgramAnswered(2, reply);
  run.OnUploadEvent(kUploadRamLoaderGivenUp, 1, 13);
  run.OnUploadEvent(kUploadPacketTimeout, 3, 0);
  run.OnUploadEvent(kUploadPacketGivenUp, 3, 0);
  run.OnUploadEvent(kUploadNewProgramGivenUp, 4, 6);
  EXPECT_EQ(run.OnUploadEvent(kUploadPacketGivenUp, 9, 0), std::nullopt);

  EXPECT_EQ(logs[1],
            "Starting Upload\nSending Ping #1 to TWD 2\nReceived Device ID\nTotal Packets to send = 1\n"
            "Sending \"Run RAM Loader\"\nWill wait 6 seconds for Ram Loader\nSending Ping #1 to RAM Loader\n"
            "Sending Packet 1 of 1 (RPT: 0)\nACK from field/got last packet\n"
            "Sending \"RE-BOOT\" RAM Loader to TWD 2\nSending Ping #1 to NEW Program\n"
            "SUCCESS! NEW PROGRAM Ver = 4.9\n");
  EXPECT_EQ(logs[0], "ERROR! Giving-Up! No response from RAM Loader after 13 pings\n");
  EXPECT_EQ(logs[2], "NO RESPONSE from TWD 3\nERROR! Giving-Up! TWD 3\n");
  EXPECT_EQ(logs[3], "NO RESPONSE from TWD 4 after 6 pings\n");
  EXPECT_EQ(run.boxes()[0].caption, "ERROR!");
  EXPECT_EQ(run.boxes()[0].mark, BoxMark::Failed);
  EXPECT_EQ(run.boxes()[1].caption, "Upload Complete!");
  EXPECT_EQ(run.boxes()[3].caption, "Upload Complete!");
  EXPECT_EQ(run.tally().BoxesEndHeadline(),
            "          Upload is Complete!\r\n          Total Sites = 4,  Successful = 1,  Failed = 2");
  EXPECT_EQ(sites.FindByRow(2)->VersionMajor, 0) << "the boxes leave the records alone";
}

TEST(UploadBoxesLayoutTest, SixteenBoxesAtMostAndTheFontFollowsTheCount) {
  const SiteTable sites = HighlightedSites(17);
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

}  // namespace
}  // namespace quenderlink
