#include "survey/PingSitesColumns.h"

#include "core/Lookups.h"
#include "core/Printf.h"
#include "core/RecordText.h"

namespace quenderlink {
namespace {

constexpr std::array<std::string_view, kPingSitesColumnCount> kHeaders = {
    "TWD",    "Cnt",     "SubDiv", "SiteName", "Milepost", "Track",  "Prod",  "DNS/IP",
    "IP Addr", "Port#", "Version", "Results",  "Comm",     "Reader", "Speech"};

constexpr std::array<int, kPingSitesColumnCount> kWidths = {40, 40,  100, 130, 70, 80, 70, 120,
                                                            110, 50, 60,  170, 60, 60, 60};

}  // namespace

std::string_view PingSitesColumnHeader(int column) {
  if (column < 0 || column >= kPingSitesColumnCount) return {};
  return kHeaders[static_cast<std::size_t>(column)];
}

std::array<int, kPingSitesColumnCount> PingSitesColumnWidths(const RuntimeParams& params) {
  std::array<int, kPingSitesColumnCount> widths = kWidths;
  if (!params.showTwd) widths[kPingColTwd] = 0;
  if (params.railroadCode != kRailroadNs) widths[kPingColProd] = 0;
  if (!params.showIpColumn) widths[kPingColDnsIp] = 0;
  return widths;
}

std::string PingSitesCellText(const SiteRecord& site, int column, int listIndex, const RuntimeParams& params) {
  switch (column) {
    case kPingColTwd: return Printf("%d", static_cast<int>(site.RowNumber));
    case kPingColCnt: return Printf("%d", listIndex);
    case kPingColSubDiv: return SubdivisionName(static_cast<std::uint16_t>(site.SubdivCode), params.railroadCode);
    case kPingColSiteName: return RecordFieldUtf8(site.SiteName);
    case kPingColMilepost: return RecordFieldUtf8(site.Milepost);
    case kPingColTrack: return TrackName(site.TrackIndex);
    case kPingColProd:
      if (params.railroadCode != kRailroadNs) return {};
      return ProductShortName(site.ProductType);
    case kPingColDnsIp: return RecordFieldUtf8(site.HostText);
    case kPingColIpAddr: return RecordFieldUtf8(site.IpByNumber);
    case kPingColPort: return Printf("%d", static_cast<int>(site.DevicePort));
    case kPingColVersion: return VersionText(site, params.showHidden);
    case kPingColComm: return RecordFieldUtf8(site.CommVersion);
    case kPingColReader: return RecordFieldUtf8(site.ReaderVersion);
    case kPingColSpeech: return RecordFieldUtf8(site.SpeechVersion);
    default: return {};
  }
}

}  // namespace quenderlink
