#include "exchange/ImportListColumns.h"

#include "core/Lookups.h"

namespace quenderlink {

std::string_view ImportColumnHeader(int column) {
  static constexpr std::array<std::string_view, kImportColumnCount> kHeaders = {
      "SiteID", "SubDiv", "SiteName", "Milepost", "Track", "DNS/IP", "IP Adr", "Port#", "Product", "Version", "Status"};
  return column >= 0 && column < kImportColumnCount ? kHeaders[static_cast<std::size_t>(column)] : std::string_view();
}

std::array<int, kImportColumnCount> ImportColumnWidths(const RuntimeParams& params, bool pinging) {
  const bool ns = params.railroadCode == kRailroadNs;
  std::array<int, kImportColumnCount> widths{};
  widths[kImportColSiteName] = params.allowChangeSiteName ? 80 : 0;
  widths[kImportColHost] = 240;
  widths[kImportColIp] = params.showIpColumn ? 100 : 0;
  widths[kImportColPort] = 60;
  if (!pinging) return widths;
  widths[kImportColSiteId] = ns ? 60 : 0;
  widths[kImportColSubDiv] = 120;
  widths[kImportColSiteName] = 100;
  widths[kImportColMilepost] = 60;
  widths[kImportColTrack] = 60;
  widths[kImportColProduct] = ns ? 80 : 0;
  widths[kImportColVersion] = 80;
  widths[kImportColStatus] = 140;
  return widths;
}

}  // namespace quenderlink
