#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/Lookups.h"
#include "journal/FleetVersions.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

using testing::TestSite;

SiteRecord Listed(std::string_view address, std::uint16_t row, std::uint8_t product, int major, int minor) {
  SiteRecord site = TestSite({.name = address, .address = address, .row = row, .product = product});
  site.VersionMajor = static_cast<std::uint8_t>(major);
  site.VersionMinor = static_cast<std::uint8_t>(minor);
  return site;
}

// Each product on one line: "RKM: 3.12 x1 3.9 x2; behind: 2 3.9 list 4 3.9 journal".
std::string Summary(const ProductVersions& product) {
  std::string text = product.productName + ":";
  for (const VersionCount& count : product.versions)
    text += " " + count.version.Text() + " x" + std::to_string(count.units);
  text += "; behind:";
  for (const FleetUnit& unit : product.units)
    if (product.IsBehind(unit))
      text += " " + std::to_string(unit.row) + " " + unit.version.Text() + (unit.fromJournal ? " journal" : " list");
  return text;
}

TEST(FleetVersionsTest, AUnitsLastAnswerOutranksTheListAndVersionsCompareAsNumbersWithinEachProduct) {
  SiteTable table;
  table.Replace({Listed("127.0.0.1", 1, kProductRkm, 3, 9), Listed("127.0.0.2", 2, kProductRkm, 3, 9),
                 Listed("127.0.0.3", 3, kProductRkm, 3, 9), Listed("127.0.0.4", 4, kProductRkm, 9, 9),
                 Listed("127.0.0.5", 5, kProductCad2, 1, 4), Listed("127.0.0.6", 6, kProductCad2, 1, 4)});
  // Row 1 was upgraded since the list was saved, row 4 downgraded; row 5's answer is no version.
  const std::map<std::string, std::string> answers{
      {"127.0.0.1", "3.12"}, {"127.0.0.4", "3.9"}, {"127.0.0.5", "garbled"}, {"127.0.0.6", "1.4-7"}};
  const std::vector<ProductVersions> fleet = FleetVersionsOf(table, [&](const SiteKey& site) {
    EXPECT_EQ(site.port, 9001);
    const auto found = answers.find(site.host);
    return found == answers.end() ? std::nullopt : std::optional<std::string>(found->second);
  });

  ASSERT_EQ(fleet.size(), 2u);
  EXPECT_EQ(Summary(fleet[0]), "RKM: 3.12 x1 3.9 x3; behind: 2 3.9 list 3 3.9 list 4 3.9 journal");
  EXPECT_EQ(Summary(fleet[1]), "Cad-2: 1.4 x2; behind:");
  EXPECT_TRUE(fleet[1].units[1].fromJournal);
  EXPECT_FALSE(fleet[1].units[0].fromJournal);
}

TEST(FleetVersionsTest, OnlyMajorDotMinorWithAnOptionalBuildIsAVersion) {
  EXPECT_EQ(ParseFieldVersion("10.2"), (FieldVersion{10, 2}));
  EXPECT_EQ(ParseFieldVersion("3.12-4"), (FieldVersion{3, 12}));
  for (const char* text : {"", "3", "3.", ".5", "3.x", "3.5 ", "v3.5", "3.5.1"})
    EXPECT_EQ(ParseFieldVersion(text), std::nullopt) << text;
  EXPECT_LT((FieldVersion{3, 9}), (FieldVersion{3, 12}));
  EXPECT_LT((FieldVersion{3, 12}), (FieldVersion{10, 0}));
}

}  // namespace
}  // namespace quenderlink
