#include "survey/IcmpScanColumns.h"

namespace quenderlink {
namespace {

constexpr std::array<std::string_view, kIcmpColumnCount> kHeaders = {
    "Check", "Cnt", "IP Address", "Try 1", "Try 2", "Try 3", "Try 4", "Try 5", "Min", "Max", "Avg", "Comments"};

}  // namespace

std::string_view IcmpColumnHeader(int column) {
  return column >= 0 && column < kIcmpColumnCount ? kHeaders[static_cast<std::size_t>(column)] : std::string_view();
}

const std::string* IcmpCellText(const IcmpRow& row, int column) {
  if (column >= kIcmpColTry1 && column < kIcmpColMin)
    return &row.tries[static_cast<std::size_t>(column - kIcmpColTry1)];
  switch (column) {
    case kIcmpColCnt: return &row.cnt;
    case kIcmpColAddress: return &row.address;
    case kIcmpColMin: return &row.min;
    case kIcmpColMax: return &row.max;
    case kIcmpColAvg: return &row.avg;
    case kIcmpColComments: return &row.comments;
    default: return nullptr;
  }
}

}  // namespace quenderlink
