#include "core/RunSite.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/FixedText.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

using testing::TestSite;

// Alpha, Bravo and Delta are in the run; Charlie is not.
SiteTable FourSites() {
  SiteTable table;
  table.Replace({TestSite({.name = "Alpha", .address = "10.0.0.1", .row = 1, .flags = kFlagMarked}),
                 TestSite({.name = "Bravo", .address = "10.0.0.2", .row = 2, .flags = kFlagMarked}),
                 TestSite({.name = "Charlie", .address = "10.0.0.3", .row = 3}),
                 TestSite({.name = "Delta", .address = "west.example", .port = 9002, .row = 4, .flags = kFlagMarked})});
  return table;
}

std::string NameOf(const SiteRecord* record) { return record ? std::string(FieldText(record->SiteName)) : "none"; }

TEST(RunSiteCopyTest, CopiesTheFlaggedSitesAndFindsEachOneByIdentityWhereverTheTableHasPutIt) {
  SiteTable table = FourSites();
  RunSiteCopy copy;
  copy.Take(table, kFlagMarked);
  ASSERT_EQ(copy.sites().size(), 3u);
  const RunSite& delta = copy.sites()[2];
  EXPECT_EQ(delta.row, 4);
  EXPECT_EQ(FieldText(delta.host), "west.example");
  EXPECT_EQ(delta.port, 9002);

  // A header click sorts the table in place while the run goes on.
  std::vector<SiteRecord> sorted(table.records().rbegin(), table.records().rend());
  std::copy(sorted.begin(), sorted.end(), table.records().begin());
  EXPECT_EQ(NameOf(copy.RecordOf(1)), "Alpha");
  EXPECT_EQ(NameOf(copy.RecordOf(4)), "Delta");
  EXPECT_EQ(NameOf(copy.RecordOf(3)), "none");  // not the run's
  EXPECT_EQ(copy.unplaced(), 0u);

  // The user gave Bravo another port: it is another unit now.
  table.FindByRow(2)->DevicePort = 9100;
  EXPECT_EQ(NameOf(copy.RecordOf(2)), "none");
  EXPECT_EQ(copy.unplaced(), 1u);

  // The listed rows, flagged or not.
  copy.TakeFirst(table, 2);
  ASSERT_EQ(copy.sites().size(), 2u);
  EXPECT_EQ(NameOf(copy.RecordOf(copy.sites()[1].row)), "Charlie");
  copy.TakeFirst(table, 9);
  EXPECT_EQ(copy.sites().size(), 4u);
}

TEST(RunSiteCopyTest, AListLoadedSinceTheCopyTakesNoResultIntoSitesThatOnlyShareARowNumber) {
  SiteTable table = FourSites();
  RunSiteCopy copy;
  copy.Take(table, kFlagMarked);

  table.Replace({TestSite({.name = "Other 1", .address = "10.9.0.1", .row = 1}),
                 TestSite({.name = "Other 2", .address = "10.0.0.2", .row = 2}),
                 TestSite({.name = "Other 4", .address = "west.example", .port = 9001, .row = 4})});
  EXPECT_EQ(NameOf(copy.RecordOf(1)), "none");
  // The same address and port at the same row number is the same site, as the file describes it.
  EXPECT_EQ(NameOf(copy.RecordOf(2)), "Other 2");
  EXPECT_EQ(NameOf(copy.RecordOf(4)), "none");
  table.Release();
  EXPECT_EQ(NameOf(copy.RecordOf(2)), "none");
  EXPECT_EQ(copy.unplaced(), 3u);
}

}  // namespace
}  // namespace quenderlink
