#include "survey/RangeScanColumns.h"

#include "core/Lookups.h"

namespace quenderlink {
namespace {

constexpr std::array<std::string_view, kRangeColumnCount> kHeaders = {
    "Hidden",   "Check", "Cnt",     "IP Address", "SubDiv", "Site ID", "SiteName", "Milepost",
    "Track",    "Product", "Version", "Status",   "Comm",   "Reader",  "Speech"};

}  // namespace

std::string_view RangeColumnHeader(int column) {
  return column >= 0 && column < kRangeColumnCount ? kHeaders[static_cast<std::size_t>(column)] : std::string_view();
}

std::array<int, kRangeColumnCount> RangeColumnWidths(unsigned railroadCode) {
  const bool ns = railroadCode == kRailroadNs;
  return {0, 45, 40, 110, 110, ns ? 60 : 0, 160, 70, 60, ns ? 80 : 0, 70, 150, 90, 90, 90};
}

const std::string* RangeCellText(const RangeRow& row, int column) {
  switch (column) {
    case kRangeColHidden: return &row.subdivCode;
    case kRangeColAddress: return &row.address;
    case kRangeColSubdivision: return &row.subdivision;
    case kRangeColSiteId: return &row.siteId;
    case kRangeColSiteName: return &row.siteName;
    case kRangeColMilepost: return &row.milepost;
    case kRangeColTrack: return &row.track;
    case kRangeColProduct: return &row.product;
    case kRangeColVersion: return &row.version;
    case kRangeColStatus: return &row.status;
    case kRangeColComm: return &row.comm;
    case kRangeColReader: return &row.reader;
    case kRangeColSpeech: return &row.speech;
    default: return nullptr;
  }
}

}  // namespace quenderlink
