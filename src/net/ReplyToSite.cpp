#include "net/ReplyToSite.h"

#include "core/FixedText.h"

namespace quenderlink {
namespace {

void CopyVersions(const DeviceReply& reply, SiteRecord& site) {
  site.VersionMajor = reply.VersionMajor;
  site.VersionMinor = reply.VersionMinor;
  site.HiddenBuild = reply.VersionBuild;
  site.ProductType = reply.ProductType;
}

void CopyVersionsAndTime(const DeviceReply& reply, SiteRecord& site) {
  CopyVersions(reply, site);
  site.LastPing = reply.ReplyTenths;
}

// The identity but for the site name.
void CopyPlace(const DeviceReply& reply, SiteRecord& site) {
  SetFieldText(site.Milepost, FieldText(reply.Milepost));
  site.SubdivCode = reply.SubdivCode;
  site.TrackIndex = reply.TrackIndex;
  site.SiteId = reply.SiteId;
}

void CopyName(const DeviceReply& reply, SiteRecord& site) { SetFieldText(site.SiteName, FieldText(reply.SiteName)); }

void CopyBoardVersions(const DeviceReply& reply, SiteRecord& site) {
  SetFieldText(site.CommVersion, FieldText(reply.CommVersion));
  SetFieldText(site.ReaderVersion, FieldText(reply.ReaderVersion));
  SetFieldText(site.SpeechVersion, FieldText(reply.SpeechVersion));
}

}  // namespace

void CopyPingReplyIntoSite(const DeviceReply& reply, bool allowChangeSiteName, SiteRecord& site) {
  CopyVersionsAndTime(reply, site);
  CopyPlace(reply, site);
  if (!allowChangeSiteName) CopyName(reply, site);
  CopyBoardVersions(reply, site);
}

void CopyNewProgramReplyIntoSite(const DeviceReply& reply, bool allowChangeSiteName, SiteRecord& site) {
  // A unit still powering up has not timed its answer: the site keeps its last ping time.
  if (reply.Powerup != 0) return CopyVersions(reply, site);
  CopyVersionsAndTime(reply, site);
  CopyPlace(reply, site);
  if (!allowChangeSiteName) CopyName(reply, site);
}

void CopySiteDialogReplyIntoSite(const DeviceReply& reply, SiteRecord& site) {
  CopyVersionsAndTime(reply, site);
  if (reply.Powerup != 0) return;
  CopyPlace(reply, site);
  CopyName(reply, site);
  CopyBoardVersions(reply, site);
}

}  // namespace quenderlink
