#include "survey/PingSitesColumns.h"

#include <gtest/gtest.h>

#include "core/Lookups.h"

namespace quenderlink {
namespace {

TEST(PingSitesColumns, OptionalColumnsAndTheirTextsFollowTheSettingsAndTheRailroad) {
  SiteRecord site = NewSiteRecord(9001);
  site.RowNumber = 17;
  site.VersionMajor = 3;
  site.VersionMinor = 7;
  site.HiddenBuild = 4;
  site.ProductType = 6;
  RuntimeParams params;
  params.railroadCode = kRailroadCsx;
  auto widths = PingSitesColumnWidths(params);
  EXPECT_EQ((std::array{widths[kPingColTwd], widths[kPingColProd], widths[kPingColDnsIp]}), (std::array{0, 0, 0}));
  EXPECT_EQ(PingSitesCellText(site, kPingColProd, 2, params), "");
  EXPECT_EQ(PingSitesCellText(site, kPingColVersion, 2, params), "3.7");
  // "TWD" is the record's row, "Cnt" the place in this list.
  EXPECT_EQ(PingSitesCellText(site, kPingColTwd, 2, params), "17");
  EXPECT_EQ(PingSitesCellText(site, kPingColCnt, 2, params), "2");

  params.railroadCode = kRailroadNs;
  params.showTwd = true;
  params.showIpColumn = true;
  params.showHidden = true;
  widths = PingSitesColumnWidths(params);
  EXPECT_TRUE(widths[kPingColTwd] > 0 && widths[kPingColProd] > 0 && widths[kPingColDnsIp] > 0);
  EXPECT_EQ(PingSitesCellText(site, kPingColProd, 2, params), "Cad-2");
  EXPECT_EQ(PingSitesCellText(site, kPingColVersion, 2, params), "3.7-4");
}

}  // namespace
}  // namespace quenderlink
