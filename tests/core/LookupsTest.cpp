#include "core/Lookups.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/CprSubdivisions.h"

namespace quenderlink {
namespace {

TEST(LookupsTest, ProductNamesAndFamilies) {
  EXPECT_EQ(ProductShortName(kProductRkmMicro), "RKM_U");
  EXPECT_EQ(ProductShortName(kProductCad2), "Cad-2");
  EXPECT_EQ(ProductShortName(0), "Unkwn_0");
  EXPECT_EQ(ProductShortName(200), "Unkwn_200");

  EXPECT_EQ(ProductFamilyOf(kProductRkmMicro), ProductFamily::Rkm);
  EXPECT_EQ(ProductFamilyOf(kProductCad2), ProductFamily::Cadmarin);
  EXPECT_EQ(ProductFamilyOf(kProductCollector), ProductFamily::Collector);
  EXPECT_EQ(ProductFamilyOf(kProductCadHalvyr), ProductFamily::None);
  EXPECT_EQ(ProductFamilyOf(0), ProductFamily::None);
}

TEST(LookupsTest, SubdivisionsWithoutATableUseTheRailroadName) {
  EXPECT_EQ(RailroadName(kRailroadNs), "NS");
  EXPECT_EQ(RailroadName(6), "URR");
  EXPECT_EQ(SubdivisionName(12, kRailroadCsx), "CSX_12");
  EXPECT_EQ(SubdivisionName(5, 0), "URR_5");
}

TEST(LookupsTest, NsSubdivisionNamesCoverOneToTwelve) {
  EXPECT_EQ(SubdivisionName(1, kRailroadNs), "Alabama");
  EXPECT_EQ(SubdivisionName(12, kRailroadNs), "Off Line");
  EXPECT_EQ(SubdivisionName(13, kRailroadNs), "NS_13");
  EXPECT_EQ(SubdivisionName(0, kRailroadNs), "NS_0");
}

TEST(LookupsTest, CprSubdivisionsTakeTheFirstEntryWithTheNumber) {
  EXPECT_EQ(SubdivisionName(6623, kRailroadCpr), "Outremont");
  EXPECT_EQ(SubdivisionName(0, kRailroadCpr), "$CPR_0");
  EXPECT_EQ(SubdivisionName(9, kRailroadCpr), "CPR_9");

  std::string name = "unchanged";
  EXPECT_EQ(CprSubdivisionByNumber(6623, kRailroadCsx, name), -1);
  EXPECT_EQ(name, "unchanged");
  EXPECT_EQ(CprSubdivisionByNumber(6623, kRailroadCpr, name), 166);
  EXPECT_EQ(name, "Outremont");
  EXPECT_EQ(CprSubdivisionByNumber(9, kRailroadCpr, name), 0);
  EXPECT_EQ(name, "$CPR_0");
}

TEST(LookupsTest, CprTableKeepsItsOrderAndRepeats) {
  const auto table = CprSubdivisions();
  ASSERT_EQ(table.size(), 167u);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(table[i].number, 0) << i;
  EXPECT_EQ(table[4].name, "Empress");
  EXPECT_EQ(std::count_if(table.begin(), table.end(), [](const CprSubdivision& s) { return s.number == 6517; }), 2);
  // Past the leading zeros the numbers ascend, so a dropped or swapped row shows here.
  for (std::size_t i = 5; i < table.size(); ++i) EXPECT_GE(table[i].number, table[i - 1].number) << i;
}

TEST(LookupsTest, NsSubdivisionFromTextTakesTheFirstCodeInTableOrder) {
  EXPECT_EQ(NsSubdivisionFromText("xxVAxx"), 11);
  EXPECT_EQ(NsSubdivisionFromText("VA then AL"), 1);
  EXPECT_EQ(NsSubdivisionFromText("AL ??"), 0);
  EXPECT_EQ(NsSubdivisionFromText("Off Line"), 0);
}

TEST(LookupsTest, TrackCodeRewritesTheTextToTheTrackName) {
  std::string text = "T2";
  EXPECT_EQ(TrackFromText(text, kRailroadCsx), 9);
  EXPECT_EQ(text, "Track 2");

  text = "SI main";
  EXPECT_EQ(TrackFromText(text, kRailroadNs), 0);
  EXPECT_EQ(text, "SI main");
  EXPECT_EQ(TrackFromText(text, kRailroadCpr), 7);
  EXPECT_EQ(text, "Siding");
}

TEST(LookupsTest, TrackNameFoundAnywhereLeavesTheTextAlone) {
  std::string text = "Main 2 east";
  EXPECT_EQ(TrackFromText(text, kRailroadCsx), 12);
  EXPECT_EQ(text, "Main 2 east");

  for (std::string other : {"", "T", "t2", "nothing here"}) {
    const std::string before = other;
    EXPECT_EQ(TrackFromText(other, kRailroadCpr), 0) << before;
    EXPECT_EQ(other, before);
  }
  EXPECT_EQ(TrackName(12), "Main 2");
  EXPECT_EQ(TrackName(13), "ERR_13");
}

TEST(LookupsTest, TimeStampIsHoursMinutesSeconds) {
  EXPECT_THAT(TimeStampText(), ::testing::MatchesRegex("[0-2][0-9]:[0-5][0-9]:[0-6][0-9]"));
}

}  // namespace
}  // namespace quenderlink
