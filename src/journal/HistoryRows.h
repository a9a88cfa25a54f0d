#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "journal/JournalReader.h"

namespace quenderlink {

// The history list's columns, in order.
enum HistoryColumn : int {
  kHistColTime,
  kHistColSite,
  kHistColKind,
  kHistColOutcome,
  kHistColReply,
  kHistColVersionBefore,
  kHistColVersionAfter,
  kHistColBoards,
  kHistColUser,
  kHistoryColumnCount
};

std::string_view HistoryColumnHeader(int column);

// A result's outcome with the step a failed upload stopped at: "upload failed at packets".
std::string HistoryOutcomeText(const JournalResult& result);

// "35 ms"; empty for a result without a reply time.
std::string ReplyMsText(int replyMs);

// One result's cells, the time in local time.
using HistoryRow = std::array<std::string, kHistoryColumnCount>;
HistoryRow HistoryRowOf(const HistoryEntry& entry);

// The results of several sites as one list, newest first.
std::vector<HistoryEntry> NewestFirst(const std::vector<std::vector<HistoryEntry>>& sites);

}  // namespace quenderlink
