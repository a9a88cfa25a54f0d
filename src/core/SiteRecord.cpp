#include "core/SiteRecord.h"

#include "core/FixedText.h"
#include "core/ReplyTimeText.h"
#include "core/VersionText.h"

namespace quenderlink {

SiteRecord NewSiteRecord(std::uint16_t devicePort) {
  SiteRecord record{};
  SetFieldText(record.SiteName, "??");
  SetFieldText(record.Milepost, "0.0");
  record.DevicePort = devicePort;
  return record;
}

std::string LastPingText(std::uint8_t lastPing) {
  switch (lastPing) {
    case kLastPingNever: return "????";
    case kLastPingBadAddress: return "Bad IP";
    case kLastPingUserAbort: return "User Abort";
    case kLastPingNoAnswer: return "Ping Failed";
    default: return SecondsText(lastPing);
  }
}

std::string VersionText(const SiteRecord& site, bool showHidden) {
  return VersionText(site.VersionMajor, site.VersionMinor, site.HiddenBuild, showHidden);
}

}  // namespace quenderlink
