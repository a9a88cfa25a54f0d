#include "core/SiteRecord.h"

#include "core/FixedText.h"
#include "core/Printf.h"

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
    default: return Printf("%d.%d sec", lastPing / 10, lastPing % 10);
  }
}

std::string VersionText(const SiteRecord& site, bool showHidden) {
  const int major = site.VersionMajor;
  const int minor = site.VersionMinor;
  if (!showHidden) return Printf("%d.%d", major, minor);
  const int hiddenBuild = site.HiddenBuild;
  return Printf("%d.%d-%d", major, minor, hiddenBuild);
}

}  // namespace quenderlink
