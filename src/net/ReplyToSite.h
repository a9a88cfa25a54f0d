#pragma once

#include "core/SiteRecord.h"
#include "net/DeviceReply.h"

namespace quenderlink {

// What a unit's reply writes into its site record. Every moment takes the
// versions, the product type and the reply time; they differ in the rest, and
// "Allow Change SiteName" = 1 keeps the name the maintainer gave a listed site.

// A ping run's answer: the whole identity with the board versions, from a unit
// in power-up too, and the name unless the setting protects it.
void CopyPingReplyIntoSite(const DeviceReply& reply, bool allowChangeSiteName, SiteRecord& site);

// The new program's answer after an upload: the identity and the ping time only
// when the unit is not in power-up, the name unless the setting protects it, and never the board
// versions: the upload takes a reply without the four separators a ping asks
// for, so its board part may be missing and the versions placeholders.
void CopyNewProgramReplyIntoSite(const DeviceReply& reply, bool allowChangeSiteName, SiteRecord& site);

// The site dialog's ping: the identity with the board versions only when the
// unit is not in power-up (one that is may not know its identity yet), and the
// name whatever the setting, since the user saves the dialog's record or not.
void CopySiteDialogReplyIntoSite(const DeviceReply& reply, SiteRecord& site);

}  // namespace quenderlink
