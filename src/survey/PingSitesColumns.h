#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/RuntimeParams.h"
#include "core/SiteRecord.h"

namespace quenderlink {

// The columns of the ping sites list, in the order they are made.
enum PingSitesColumn : int {
  kPingColTwd = 0,
  kPingColCnt,
  kPingColSubDiv,
  kPingColSiteName,
  kPingColMilepost,
  kPingColTrack,
  kPingColProd,
  kPingColDnsIp,
  kPingColIpAddr,
  kPingColPort,
  kPingColVersion,
  kPingColResults,
  kPingColComm,
  kPingColReader,
  kPingColSpeech
};

inline constexpr int kPingSitesColumnCount = 15;

// The header text of a column; empty for a number that is no column.
std::string_view PingSitesColumnHeader(int column);

// Column widths in pixels as the settings and the railroad leave them; 0 hides a column.
std::array<int, kPingSitesColumnCount> PingSitesColumnWidths(const RuntimeParams& params);

// What a column shows for the site listed at `listIndex`. The Results column is
// the run's, not the record's: empty here.
std::string PingSitesCellText(const SiteRecord& site, int column, int listIndex, const RuntimeParams& params);

}  // namespace quenderlink
