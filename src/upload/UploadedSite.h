#pragma once

#include "core/SiteRecord.h"
#include "net/DeviceReply.h"

namespace quenderlink {

// The window that keeps the site table and takes a site's record back once its
// new program has answered (the main view). The record lives with the caller:
// the receiver copies what it keeps before returning.
class UploadedSiteReceiver {
 public:
  virtual ~UploadedSiteReceiver() = default;

  // The new program was ready and told the unit's identity as well.
  virtual void OnUploadedSiteIdentified(const SiteRecord& site) = 0;
  // The new program is still in power-up: only its versions and product are known.
  virtual void OnUploadedSiteRefreshed(const SiteRecord& site) = 0;
};

// Hands the receiver a copy of the site with what the new program's reply
// tells, by the call that matches what the reply carried.
void SendUploadedSite(const SiteRecord& site, const DeviceReply& reply, bool allowChangeSiteName,
                      UploadedSiteReceiver& receiver);

}  // namespace quenderlink
