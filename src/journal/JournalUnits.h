#pragma once

#include <string>

#include "core/SiteRecord.h"
#include "journal/JournalRecords.h"
#include "net/DeviceReply.h"

namespace quenderlink {

// A listed site as the journal keeps it, its texts in UTF-8.
JournalUnit JournalUnitOf(const SiteRecord& record);

// A unit found by its answer at an address: who it says it is.
JournalUnit JournalUnitOfReply(const DeviceReply& reply, const std::string& address, std::uint16_t port);

// What an answer tells the journal: the reply time, the version and the board versions.
JournalResult AnsweredResult(const DeviceReply& reply, int replyMs);

}  // namespace quenderlink
