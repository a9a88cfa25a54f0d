#include "shell/SiteSort.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/FixedText.h"
#include "core/Lookups.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

using testing::TestSite;

std::string NamesInOrder(std::span<const SiteRecord> records) {
  std::string names;
  for (const SiteRecord& record : records)
    names += (names.empty() ? "" : " ") + std::string(FieldText(record.SiteName));
  return names;
}

std::string Sorted(std::vector<SiteRecord> records, int key, bool ascending, std::uint8_t railroad = kRailroadNs) {
  SiteTable table;
  table.Replace(std::move(records));
  SortSites(table, {key, ascending}, railroad);
  return NamesInOrder(table.records());
}

void SetMilepost(SiteRecord& record, std::uint8_t value) {
  SetFieldText(record.Milepost, std::to_string(value) + ".5");
}

void SetAddressAndHost(SiteRecord& record, std::uint8_t value) {
  SetFieldText(record.IpByNumber, "10.0.0." + std::to_string(value));
  SetFieldText(record.HostText, "h" + std::to_string(value));
}

struct KeyCase {
  int key;
  std::uint8_t railroad;
  void (*set)(SiteRecord&, std::uint8_t);
  const char* ascending;
  const char* descending;
};

// Records B, A, C share the key value 1, D has 2 and E has 0, so each expected order shows the key's
// direction and its tie-break: "C B A" reversed names, "A B C" plain names, "B A C" none (equal
// records keep their order).
const KeyCase kKeyCases[] = {
    {0, kRailroadNs, [](SiteRecord& r, std::uint8_t v) { r.RowNumber = v; }, "E B A C D", "D B A C E"},
    {5, kRailroadNs, [](SiteRecord& r, std::uint8_t v) { r.SubdivCode = v; }, "E C B A D", "D A B C E"},
    {6, kRailroadNs, [](SiteRecord& r, std::uint8_t v) { r.SiteId = v; }, "E C B A D", "D B A C E"},
    {7, kRailroadNs, [](SiteRecord&, std::uint8_t) {}, "E D C B A", "A B C D E"},
    {8, kRailroadNs, SetMilepost, "E B A C D", "D B A C E"},
    {9, kRailroadNs, [](SiteRecord& r, std::uint8_t v) { r.TrackIndex = v; }, "E C B A D", "D A B C E"},
    {10, kRailroadCpr, SetAddressAndHost, "D B A C E", "E B A C D"},
    {10, kRailroadCsx, SetAddressAndHost, "E C B A D", "D B A C E"},
    {12, kRailroadNs, [](SiteRecord& r, std::uint8_t v) { r.DevicePort = v; }, "E B A C D", "D A B C E"},
    {13, kRailroadNs, [](SiteRecord& r, std::uint8_t v) { r.TelnetPort = v; }, "E C B A D", "D A B C E"},
    {14, kRailroadNs, [](SiteRecord& r, std::uint8_t v) { r.ProductType = v; }, "E C B A D", "D A B C E"},
    {15, kRailroadNs, [](SiteRecord& r, std::uint8_t v) { r.VersionMinor = v; }, "E C B A D", "D A B C E"},
    {16, kRailroadNs, [](SiteRecord& r, std::uint8_t v) { r.LastPing = v; }, "E C B A D", "D A B C E"},
};

TEST(SiteSort, EachKeySortsInBothDirectionsWithItsOwnTieBreak) {
  for (const KeyCase& c : kKeyCases) {
    std::vector<SiteRecord> records;
    for (auto [name, value] : std::initializer_list<std::pair<const char*, std::uint8_t>>{
             {"B", 1}, {"A", 1}, {"C", 1}, {"D", 2}, {"E", 0}}) {
      records.push_back(TestSite({.name = name}));
      c.set(records.back(), value);
    }
    SCOPED_TRACE(::testing::Message() << "key " << c.key << ", railroad " << int{c.railroad});
    EXPECT_EQ(Sorted(records, c.key, true, c.railroad), c.ascending);
    EXPECT_EQ(Sorted(records, c.key, false, c.railroad), c.descending);
    // Columns that are no sort key leave the list as it is.
    for (const int other : {-1, 1, 4, 17}) EXPECT_EQ(Sorted(records, other, true, c.railroad), "B A C D E") << other;
  }
}

// Sorting the list given in ascending order, reversed, must restore it; descending must reverse it.
void ExpectAscendingOrder(int key, const std::vector<SiteRecord>& ascending) {
  const std::vector<SiteRecord> descending(ascending.rbegin(), ascending.rend());
  EXPECT_EQ(Sorted(descending, key, true), NamesInOrder(ascending));
  EXPECT_EQ(Sorted(ascending, key, false), NamesInOrder(descending));
}

TEST(SiteSort, MilepostSortsByItsLeadingNumberThenTrack) {
  std::vector<SiteRecord> records;
  // "-1" read as 16 bits is the largest.
  for (auto [milepost, track] :
       {std::pair{"abc", 3}, {"+3.5", 1}, {"3", 2}, {"9x", 0}, {"12.0", 0}, {"100", 0}, {"-1", 0}}) {
    records.push_back(TestSite({.name = std::string(milepost) + "/" + std::to_string(track)}));
    SetFieldText(records.back().Milepost, milepost);
    records.back().TrackIndex = static_cast<std::uint8_t>(track);
  }
  ExpectAscendingOrder(8, records);
}

TEST(SiteSort, AddressSortsByItsDottedNumbersThenDevicePort) {
  std::vector<SiteRecord> records;
  // "7" has no dot and counts as 0.0.0.0; 300 kept in 8 bits is 44.
  for (auto [address, port] : {std::pair{"7", 9}, {"0.0.0.9", 1}, {"1.2.3.4", 1}, {"1.10.0.0", 1}, {"9.0.0.0", 1},
                               {"10.0.0.1", 5}, {"10.0.0.1", 7}, {"10.0.0.2", 1}, {"10.0.0.300", 1}, {"10.0.0.45", 1},
                               {"45.0.0.0", 1}}) {
    records.push_back(TestSite({.name = std::string(address) + ":" + std::to_string(port)}));
    SetFieldText(records.back().IpByNumber, address);
    records.back().DevicePort = static_cast<std::uint16_t>(port);
  }
  ExpectAscendingOrder(11, records);
}

TEST(SiteSort, VersionSortsByMajorTimesHundredPlusMinor) {
  std::vector<SiteRecord> records;
  for (auto [major, minor] : {std::pair{1, 99}, {2, 0}, {2, 5}, {2, 10}, {3, 0}, {1, 250}}) {
    records.push_back(TestSite({.name = std::to_string(major) + "." + std::to_string(minor)}));
    records.back().VersionMajor = static_cast<std::uint8_t>(major);
    records.back().VersionMinor = static_cast<std::uint8_t>(minor);
  }
  ExpectAscendingOrder(15, records);
}

TEST(SiteSort, NameComparisonReadsOnlyTheFirstNamesLengthInUnsignedBytes) {
  EXPECT_EQ(CompareSiteNames(TestSite({.name = "Ab"}), TestSite({.name = "Abc"})), 0);
  EXPECT_GT(CompareSiteNames(TestSite({.name = "Abc"}), TestSite({.name = "Ab"})), 0);
  EXPECT_LT(CompareSiteNames(TestSite({.name = "Ab"}), TestSite({.name = "Ac"})), 0);
  EXPECT_GT(CompareSiteNames(TestSite({.name = "\xE9t\xE9"}), TestSite({.name = "zone"})), 0);

  SiteRecord full = TestSite({.name = ""});
  std::memset(full.SiteName, 'Q', sizeof full.SiteName);  // no NUL inside the field
  EXPECT_GT(CompareSiteNames(full, TestSite({.name = "QQ"})), 0);

  // Ascending puts the longer name first from either starting order.
  EXPECT_EQ(Sorted({TestSite({.name = "Ab"}), TestSite({.name = "Abc"})}, 7, true), "Abc Ab");
  EXPECT_EQ(Sorted({TestSite({.name = "Abc"}), TestSite({.name = "Ab"})}, 7, true), "Abc Ab");
}

TEST(SiteSort, HeaderClickFlipsTheCurrentKeyOrSwitchesKeyKeepingDirection) {
  struct {
    SortChoice current;
    int column;
    SortChoice expected;
  } const cases[] = {
      {{0, false}, 0, {0, true}},    {{7, true}, 7, {7, false}},  {{7, true}, 12, {12, true}},
      {{7, false}, 16, {16, false}}, {{5, true}, 0, {0, true}},   {{7, true}, 1, {7, true}},
      {{7, false}, 4, {7, false}},   {{7, true}, 17, {7, true}},  {{7, true}, -1, {7, true}},
  };
  for (const auto& c : cases) {
    const SortChoice result = HeaderClickSort(c.current, c.column);
    EXPECT_EQ(std::pair(result.key, result.ascending), std::pair(c.expected.key, c.expected.ascending)) << c.column;
  }
}

TEST(SiteSort, ATableStaysInSortOrderUntilARecordIsAddedOutOfIt) {
  SiteTable table;
  table.Replace({TestSite({.name = "Bravo"}), TestSite({.name = "Alpha"}), TestSite({.name = "Charlie"})});
  EXPECT_FALSE(InSortOrder(table, {7, false}, kRailroadNs));
  SortSites(table, {7, false}, kRailroadNs);
  EXPECT_TRUE(InSortOrder(table, {7, false}, kRailroadNs));
  std::vector<SiteRecord> appended(table.records().begin(), table.records().end());
  appended.push_back(TestSite({.name = "Able"}));
  table.Replace(appended);
  EXPECT_FALSE(InSortOrder(table, {7, false}, kRailroadNs));
}

TEST(SiteSort, TheHeaderArrowFollowsTheKeysValuesNotTheDirectionsName) {
  struct {
    SortChoice choice;
    std::uint8_t railroad;
    bool rises;
  } const cases[] = {
      {{12, true}, kRailroadCsx, true},  {{12, false}, kRailroadCsx, false}, {{7, true}, kRailroadCsx, false},
      {{7, false}, kRailroadCsx, true},  {{10, true}, kRailroadCpr, false},  {{10, true}, kRailroadNs, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(KeyValuesRise(c.choice, c.railroad), c.rises) << "key " << c.choice.key << " railroad " << int{c.railroad};
}

}  // namespace
}  // namespace quenderlink
