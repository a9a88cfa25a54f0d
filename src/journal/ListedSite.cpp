#include "journal/ListedSite.h"

#include "core/Lookups.h"
#include "core/RecordText.h"

namespace quenderlink {

std::string SiteWithTrack(const std::string& name, int track) {
  const std::string trackName = track > 0 ? TrackName(static_cast<unsigned>(track)) : std::string();
  return trackName.empty() ? name : name + " " + trackName;
}

ListedSite ListedSiteOf(const SiteRecord& record) {
  return {SiteWithTrack(RecordFieldUtf8(record.SiteName), record.TrackIndex),
          SiteKey{RecordFieldUtf8(record.HostText), record.DevicePort}};
}

}  // namespace quenderlink
