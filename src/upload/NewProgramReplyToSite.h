#pragma once

#include "core/SiteRecord.h"
#include "net/DeviceReply.h"

namespace quenderlink {

// What the new program's reply after an upload writes into its site record:
// versions, product and reply time always; the site identity only when the
// unit reported it (not in power-up), and the name only when the program may
// change it.
void CopyNewProgramReplyIntoSite(const DeviceReply& reply, bool allowChangeSiteName, SiteRecord& site);

}  // namespace quenderlink
