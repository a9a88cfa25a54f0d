#pragma once

#include "core/SiteRecord.h"
#include "net/DeviceReply.h"

namespace quenderlink {

// Copies what a unit reported into its site record: identity, versions, reply
// time and board versions; the site name only when the program may change it.
void CopyReplyIntoSite(const DeviceReply& reply, bool allowChangeSiteName, SiteRecord& site);

}  // namespace quenderlink
