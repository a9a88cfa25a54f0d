#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "net/IcmpJob.h"
#include "support/SiteListFile.h"
#include "support/TestSite.h"

namespace quenderlink::testing {
namespace {

void ExpectAllTriesAnswered(const nlohmann::ordered_json& row) {
  ASSERT_EQ(row["tries"].size(), 5u) << row;
  for (const nlohmann::ordered_json& time : row["tries"]) EXPECT_TRUE(time.is_number()) << row;
  EXPECT_EQ(row["status"], 0);
}

// The machine answers echo on all of 127/8; 127.99/16 is these tests' own.
class IcmpCommandTest : public ::testing::Test {
 protected:
  CliRunner cli;
};

TEST_F(IcmpCommandTest, RawMethodListsEveryAddressInOrderWithItsTotals) {
  if (const Result can = CanOpenRawIcmp(); !can) GTEST_SKIP() << can.reason();
  const CliResult result = cli.Run({"icmp", "127.99.0.1-3", "--method", "raw"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_GE(lines.size(), 4u) << result.out;
  EXPECT_TRUE(lines[0].starts_with(";Cnt")) << lines[0];
  // The listing's layout is IcmpScanSaveTest's; each try's time reaching the row shows in the JSON tests.
  for (int i = 1; i <= 3; ++i)
    EXPECT_NE(lines[i].find(std::string(" 127.99.0.").append(std::to_string(i)).append(" ")), std::string::npos);
  EXPECT_NE(result.out.find("Total Success:   3"), std::string::npos) << result.out;
  EXPECT_EQ(result.out.find('\r'), std::string::npos);
}

TEST_F(IcmpCommandTest, LibraryMethodIsTheDefaultAndTheRouteMethodAddsItsHops) {
  if (const Result can = CanOpenLibraryIcmp(); !can) GTEST_SKIP() << can.reason();
  const CliResult result = cli.Run({"icmp", "127.99.0.4-5", "--json", "--parallel", "2"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const auto rows = JsonLines(result.out);
  ASSERT_EQ(rows.size(), 2u) << result.out;
  EXPECT_EQ(rows[1]["cnt"], 2);
  EXPECT_EQ(rows[1]["address"], "127.99.0.5");
  EXPECT_FALSE(rows[1].contains("hops"));
  EXPECT_NE(result.err.find("Total Success:   2"), std::string::npos) << "totals stay off the JSON lines";

  const CliResult route = cli.Run({"icmp", "127.99.0.6-6", "--method", "route", "--json"});
  ASSERT_EQ(route.exitCode, 0) << route.err;
  const auto routed = JsonLines(route.out);
  ASSERT_EQ(routed.size(), 1u) << route.out;
  EXPECT_EQ(routed[0]["hops"], 1);
}

// An empty record resolves to nothing without a lookup, so it fails without a
// packet leaving loopback, and the other sites still run.
TEST_F(IcmpCommandTest, SitesTakeTheAddressByNumberElseTheHostAndFailuresDoNotStopTheRest) {
  if (const Result can = CanOpenRawIcmp(); !can) GTEST_SKIP() << can.reason();
  SiteRecord byNumber = NewSiteRecord(9001);
  SetFieldText(byNumber.IpByNumber, "127.99.1.1");
  SiteRecord byHost = NewSiteRecord(9001);
  SetFieldText(byHost.HostText, "127.99.1.3");
  const std::string file = WriteSiteList(cli / "sites.bin", {byNumber, NewSiteRecord(9001), byHost});
  const CliResult result = cli.Run({"icmp", "--sites", file, "--json"});
  EXPECT_EQ(result.exitCode, 1) << result.err;
  const auto rows = JsonLines(result.out);
  ASSERT_EQ(rows.size(), 3u) << result.out;
  ExpectAllTriesAnswered(rows[0]);
  EXPECT_EQ(rows[1]["address"], "");
  EXPECT_EQ(rows[1]["tries"], nlohmann::ordered_json::parse("[null,null,null,null,null]"));
  EXPECT_EQ(rows[1]["min"], nullptr);
  EXPECT_NE(rows[1]["comment"].get<std::string>().find("resolve"), std::string::npos) << rows[1];
  ExpectAllTriesAnswered(rows[2]);
}

TEST_F(IcmpCommandTest, BadInputExitsWith2BeforeAnythingIsSent) {
  const std::string file = WriteSiteList(cli / "sites.bin", {TestSite({.address = "127.99.2.1"})});
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"icmp", "127.99.300.1-2"}, {"icmp"},
        {"icmp", "127.99.2.1-2", "--method", "echo"}, {"icmp", "127.99.2.1-2", "--sites", file},
        {"icmp", "127.99.2.1-2", "--parallel", "0"}, {"icmp", "127.99.2.1-2", "--parallel", "256"},
        {"icmp", "--sites", (cli / "missing.bin").string()}}) {
    const CliResult result = cli.Run(arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments.back() << "\n" << result.err;
    EXPECT_EQ(result.out, "") << arguments.back();
  }
}

}  // namespace
}  // namespace quenderlink::testing
