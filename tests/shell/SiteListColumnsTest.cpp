#include "shell/SiteListColumns.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/Lookups.h"
#include "shell/SiteCellText.h"

namespace quenderlink {
namespace {

TEST(SiteListColumns, WidthsFollowTheRailroadAndTheTwoShowSettings) {
  RuntimeParams params;
  const auto ruled = [&] {
    const std::array widths = SiteColumnWidths(params);
    return std::array{widths[kColCnt], widths[kColIpByNumber], widths[kColSiteId], widths[kColProduct]};
  };
  params.railroadCode = kRailroadCsx;
  EXPECT_EQ(ruled(), (std::array{0, 0, 0, 0}));
  params.railroadCode = kRailroadCpr;
  params.showTwd = true;
  params.showIpColumn = true;
  EXPECT_EQ(ruled(), (std::array{40, 100, 0, 80}));
  params.railroadCode = kRailroadNs;
  EXPECT_EQ(ruled(), (std::array{40, 100, 80, 80}));
}

TEST(SiteCellText, ColumnsWhoseTextDependsOnSettingsOrCodes) {
  SiteRecord site = NewSiteRecord(9001);
  site.SiteId = 42;
  site.VersionMajor = 3;
  site.VersionMinor = 7;
  site.HiddenBuild = -2;
  site.TrackIndex = 13;
  site.LastPing = 15;
  std::memset(site.SpeechVersion, 'S', sizeof site.SpeechVersion);  // fills the field, no NUL

  RuntimeParams params;
  params.railroadCode = kRailroadCsx;
  EXPECT_EQ(SiteCellText(site, kColSiteId, params), "");
  EXPECT_EQ(SiteCellText(site, kColVersion, params), "3.7");
  params.railroadCode = kRailroadNs;
  params.showHidden = true;
  EXPECT_EQ(SiteCellText(site, kColSiteId, params), "00042");
  EXPECT_EQ(SiteCellText(site, kColVersion, params), "3.7--2");

  EXPECT_EQ(SiteCellText(site, kColTrack, params), "ERR_13");
  EXPECT_EQ(SiteCellText(site, kColLastPing, params), "1.5 sec");
  EXPECT_EQ(SiteCellText(site, kColSpeech, params), "SSSSSSSSS");
}

}  // namespace
}  // namespace quenderlink
