#pragma once

#include <array>
#include <string>
#include <string_view>

#include "survey/IcmpScanRun.h"

namespace quenderlink {

// The columns of the ICMP scan list, in order.
enum IcmpColumn {
  kIcmpColCheck = 0,
  kIcmpColCnt,
  kIcmpColAddress,
  kIcmpColTry1,
  kIcmpColMin = kIcmpColTry1 + kIcmpTries,
  kIcmpColMax,
  kIcmpColAvg,
  kIcmpColComments,
  kIcmpColumnCount
};

std::string_view IcmpColumnHeader(int column);

inline constexpr std::array<int, kIcmpColumnCount> kIcmpColumnWidths = {45, 40, 110, 50, 50, 50,
                                                                         50, 50, 50,  50, 50, 260};

// The text a row shows in a column; none for the tick column.
const std::string* IcmpCellText(const IcmpRow& row, int column);

}  // namespace quenderlink
