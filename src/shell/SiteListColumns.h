#pragma once

#include <array>
#include <string_view>

#include "core/RuntimeParams.h"

namespace quenderlink {

// The columns of the main site list, in the order they are made.
enum SiteColumn : int {
  kColCnt = 0,
  kColCheck,
  kColPing,
  kColLoad,
  kColTelnetButton,
  kColSubDiv,
  kColSiteId,
  kColSiteName,
  kColMilepost,
  kColTrack,
  kColDnsIp,
  kColIpByNumber,
  kColPort,
  kColTelnet,
  kColProduct,
  kColVersion,
  kColLastPing,
  kColComm,
  kColReader,
  kColSpeech
};

inline constexpr int kSiteColumnCount = 20;

// The header text of a column; empty for a number that is no column.
std::string_view SiteColumnHeader(int column);

// Column widths in pixels as the settings and the railroad leave them; 0 hides a column.
std::array<int, kSiteColumnCount> SiteColumnWidths(const RuntimeParams& params);

}  // namespace quenderlink
