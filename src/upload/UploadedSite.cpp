#include "upload/UploadedSite.h"

#include "net/ReplyToSite.h"

namespace quenderlink {

void SendUploadedSite(const SiteRecord& site, const DeviceReply& reply, bool allowChangeSiteName,
                      UploadedSiteReceiver& receiver) {
  SiteRecord updated = site;
  CopyNewProgramReplyIntoSite(reply, allowChangeSiteName, updated);
  if (reply.Powerup == 0)
    receiver.OnUploadedSiteIdentified(updated);
  else
    receiver.OnUploadedSiteRefreshed(updated);
}

}  // namespace quenderlink
