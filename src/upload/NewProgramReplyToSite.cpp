#include "upload/NewProgramReplyToSite.h"

#include "core/FixedText.h"

namespace quenderlink {

void CopyNewProgramReplyIntoSite(const DeviceReply& reply, bool allowChangeSiteName, SiteRecord& site) {
  site.VersionMajor = reply.VersionMajor;
  site.VersionMinor = reply.VersionMinor;
  site.HiddenBuild = reply.VersionBuild;
  site.LastPing = reply.ReplyTenths;
  site.ProductType = reply.ProductType;
  if (reply.Powerup != 0) return;
  if (!allowChangeSiteName) SetFieldText(site.SiteName, FieldText(reply.SiteName));
  SetFieldText(site.Milepost, FieldText(reply.Milepost));
  site.SubdivCode = reply.SubdivCode;
  site.TrackIndex = reply.TrackIndex;
  site.SiteId = reply.SiteId;
}

}  // namespace quenderlink
