#pragma once

#include <array>
#include <string>
#include <string_view>

#include "survey/RangeScanRun.h"

namespace quenderlink {

// The columns of the range scan list, in order.
enum RangeColumn {
  kRangeColHidden = 0,  // SubdivCode, never shown
  kRangeColCheck,
  kRangeColCnt,
  kRangeColAddress,
  kRangeColSubdivision,
  kRangeColSiteId,
  kRangeColSiteName,
  kRangeColMilepost,
  kRangeColTrack,
  kRangeColProduct,
  kRangeColVersion,
  kRangeColStatus,
  kRangeColComm,
  kRangeColReader,
  kRangeColSpeech,
  kRangeColumnCount
};

std::string_view RangeColumnHeader(int column);

// Column widths; 0 hides a column. Site ID and Product mean something only to NS.
std::array<int, kRangeColumnCount> RangeColumnWidths(unsigned railroadCode);

// The text a row shows in a column; none for the tick, count and unknown columns.
const std::string* RangeCellText(const RangeRow& row, int column);

}  // namespace quenderlink
