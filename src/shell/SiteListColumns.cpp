#include "shell/SiteListColumns.h"

#include "core/Lookups.h"

namespace quenderlink {
namespace {

constexpr std::array<std::string_view, kSiteColumnCount> kHeaders = {
    "Cnt",    "Check",        "Ping",  "Load",   "Telnet",  "SubDiv",  "Site ID",   "SiteName", "Milepost", "Track",
    "DNS/IP", "IP Addr by #", "Port#", "Telnet", "Product", "Version", "Last Ping", "Comm",     "Reader",   "Speech"};

constexpr std::array<int, kSiteColumnCount> kInitialWidths = {20, 48, 20, 20, 20,  100, 80,  100, 80, 60,
                                                              80, 120, 120, 60, 50, 50, 120, 22, 60, 60};

}  // namespace

std::string_view SiteColumnHeader(int column) {
  if (column < 0 || column >= kSiteColumnCount) return {};
  return kHeaders[static_cast<std::size_t>(column)];
}

std::array<int, kSiteColumnCount> SiteColumnWidths(const RuntimeParams& params) {
  std::array<int, kSiteColumnCount> widths = kInitialWidths;
  widths[kColCnt] = params.showTwd ? 40 : 0;
  widths[kColIpByNumber] = params.showIpColumn ? 100 : 0;
  switch (params.railroadCode) {
    case kRailroadCpr:
      widths[kColSiteId] = 0;
      widths[kColProduct] = 80;
      break;
    case kRailroadNs:
      widths[kColSiteId] = 80;
      widths[kColProduct] = 80;
      break;
    default:
      widths[kColSiteId] = 0;
      widths[kColProduct] = 0;
      break;
  }
  return widths;
}

}  // namespace quenderlink
