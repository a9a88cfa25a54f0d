#include "shell/SiteCellText.h"

#include "core/Lookups.h"
#include "core/Printf.h"
#include "core/RecordText.h"
#include "shell/SiteListColumns.h"

namespace quenderlink {
std::string SiteCellText(const SiteRecord& site, int column, const RuntimeParams& params) {
  switch (column) {
    case kColCnt: return Printf("%d", static_cast<int>(site.RowNumber));
    case kColPing: return "P";
    case kColLoad: return "U";
    case kColTelnetButton: return "T";
    case kColSubDiv: return SubdivisionName(static_cast<std::uint16_t>(site.SubdivCode), params.railroadCode);
    case kColSiteId:
      // Only NS numbers its sites; elsewhere the field holds nothing worth showing.
      if (params.railroadCode != kRailroadNs) return {};
      return Printf("%05d", static_cast<int>(site.SiteId));
    case kColSiteName: return RecordFieldUtf8(site.SiteName);
    case kColMilepost: return RecordFieldUtf8(site.Milepost);
    case kColTrack: return TrackName(site.TrackIndex);
    case kColDnsIp: return RecordFieldUtf8(site.HostText);
    case kColIpByNumber: return RecordFieldUtf8(site.IpByNumber);
    case kColPort: return Printf("%d", static_cast<int>(site.DevicePort));
    case kColTelnet: return Printf("%d", static_cast<int>(site.TelnetPort));
    case kColProduct: return ProductShortName(site.ProductType);
    case kColVersion: return VersionText(site, params.showHidden);
    case kColLastPing: return LastPingText(site.LastPing);
    case kColComm: return RecordFieldUtf8(site.CommVersion);
    case kColReader: return RecordFieldUtf8(site.ReaderVersion);
    case kColSpeech: return RecordFieldUtf8(site.SpeechVersion);
    default: return {};
  }
}

}  // namespace quenderlink
