#include "upload/UploadListColumns.h"

#include "core/Lookups.h"
#include "core/RecordText.h"

namespace quenderlink {

std::string_view UploadListColumnHeader(int column) {
  static constexpr std::array<std::string_view, kUploadListColumnCount> kHeaders{
      "Index", "SiteName", "Milepost", "Track", "IP Addr", "Port#", "Time", "Status"};
  if (column < 0 || column >= kUploadListColumnCount) return {};
  return kHeaders[static_cast<std::size_t>(column)];
}

const std::array<int, kUploadListColumnCount>& UploadListColumnWidths() {
  static constexpr std::array<int, kUploadListColumnCount> kWidths{40, 120, 100, 80, 100, 70, 80, 360};
  return kWidths;
}

std::string UploadListCellText(const UploadListRow& row, int column) {
  const SiteRecord& site = row.site;
  switch (column) {
    case kUploadColIndex: return std::to_string(site.RowNumber);
    case kUploadColSiteName: return RecordFieldUtf8(site.SiteName);
    case kUploadColMilepost: return RecordFieldUtf8(site.Milepost);
    case kUploadColTrack: return TrackName(site.TrackIndex);
    case kUploadColIpAddr: return RecordFieldUtf8(site.HostText);
    case kUploadColPort: return std::to_string(site.DevicePort);
    case kUploadColTime: return row.time;
    case kUploadColStatus: return row.status;
    default: return {};
  }
}

}  // namespace quenderlink
