#include "survey/PingReplyToSite.h"

#include "core/FixedText.h"

namespace quenderlink {

void CopyReplyIntoSite(const DeviceReply& reply, bool allowChangeSiteName, SiteRecord& site) {
  // "Allow Change SiteName" = 1 protects the name the maintainer gave the site.
  if (!allowChangeSiteName) SetFieldText(site.SiteName, FieldText(reply.SiteName));
  SetFieldText(site.Milepost, FieldText(reply.Milepost));
  site.VersionMajor = reply.VersionMajor;
  site.VersionMinor = reply.VersionMinor;
  site.HiddenBuild = reply.VersionBuild;
  site.LastPing = reply.ReplyTenths;
  site.SubdivCode = reply.SubdivCode;
  site.TrackIndex = reply.TrackIndex;
  site.SiteId = reply.SiteId;
  site.ProductType = reply.ProductType;
  SetFieldText(site.CommVersion, FieldText(reply.CommVersion));
  SetFieldText(site.ReaderVersion, FieldText(reply.ReaderVersion));
  SetFieldText(site.SpeechVersion, FieldText(reply.SpeechVersion));
}

}  // namespace quenderlink
