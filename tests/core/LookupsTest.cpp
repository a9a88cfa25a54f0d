#include "core/Lookups.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace quenderlink {
namespace {

TEST(LookupsTest, ProductFamilies) {
  EXPECT_EQ(ProductFamilyOf(kProductRkmMicro), ProductFamily::Rkm);
  EXPECT_EQ(ProductFamilyOf(kProductCad2), ProductFamily::Cadmarin);
  EXPECT_EQ(ProductFamilyOf(kProductCollector), ProductFamily::Collector);
  EXPECT_EQ(ProductFamilyOf(0), ProductFamily::None);
}

TEST(LookupsTest, SubdivisionNamesByRailroad) {
  const std::tuple<std::uint16_t, std::uint8_t, const char*> cases[] = {
      {12, kRailroadCsx, "CSX_12"}, {5, 0, "URR_5"},  // no table: the railroad's name
      {1, kRailroadNs, "Alabama"},  {12, kRailroadNs, "Off Line"}, {13, kRailroadNs, "NS_13"}, {0, kRailroadNs, "NS_0"},
      // CPR takes the first entry with the number.
      {6623, kRailroadCpr, "Outremont"}, {0, kRailroadCpr, "$CPR_0"}, {9, kRailroadCpr, "CPR_9"},
  };
  for (const auto& [number, railroad, name] : cases) EXPECT_EQ(SubdivisionName(number, railroad), name) << number;
}

TEST(LookupsTest, NsSubdivisionFromTextTakesTheFirstCodeInTableOrder) {
  EXPECT_EQ(NsSubdivisionFromText("xxVAxx"), 11);
  EXPECT_EQ(NsSubdivisionFromText("VA then AL"), 1);
  EXPECT_EQ(NsSubdivisionFromText("AL ??"), 0);
  EXPECT_EQ(NsSubdivisionFromText("Off Line"), 0);
}

TEST(LookupsTest, TrackCodeRewritesTheTextToTheTrackNameAndAFoundNameLeavesItAlone) {
  const std::tuple<const char*, std::uint8_t, int, const char*> cases[] = {
      {"T2", kRailroadCsx, 9, "Track 2"},    {"SI main", kRailroadNs, 0, "SI main"},
      {"SI main", kRailroadCpr, 7, "Siding"}, {"Main 2 east", kRailroadCsx, 12, "Main 2 east"},
      {"", kRailroadCpr, 0, ""},              {"T", kRailroadCpr, 0, "T"},
      {"t2", kRailroadCpr, 0, "t2"},          {"nothing here", kRailroadCpr, 0, "nothing here"},
  };
  for (const auto& [before, railroad, track, after] : cases) {
    std::string text = before;
    EXPECT_EQ(TrackFromText(text, railroad), track) << before;
    EXPECT_EQ(text, after) << before;
  }
}

}  // namespace
}  // namespace quenderlink
