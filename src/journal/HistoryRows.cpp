#include "journal/HistoryRows.h"

#include <algorithm>

#include "journal/JournalTime.h"
#include "journal/ListedSite.h"

namespace quenderlink {

std::string_view HistoryColumnHeader(int column) {
  static constexpr std::array<std::string_view, kHistoryColumnCount> kHeaders{
      "Time", "Site", "Run", "Outcome", "Reply", "Version before", "Version after", "Boards", "User"};
  if (column < 0 || column >= kHistoryColumnCount) return {};
  return kHeaders[static_cast<std::size_t>(column)];
}

std::string HistoryOutcomeText(const JournalResult& result) {
  std::string text = OutcomeText(result.outcome);
  if (result.outcome == ResultOutcome::UploadFailed && result.step != UploadStep::None) {
    text += std::string(" at ") + UploadStepText(result.step);
  }
  return text;
}

std::string ReplyMsText(int replyMs) { return replyMs < 0 ? std::string() : std::to_string(replyMs) + " ms"; }

HistoryRow HistoryRowOf(const HistoryEntry& entry) {
  HistoryRow row;
  row[kHistColTime] = LocalTimeText(entry.time);
  row[kHistColSite] = SiteWithTrack(entry.unit.siteName, entry.unit.track);
  row[kHistColKind] = RunKindText(entry.kind);
  row[kHistColOutcome] = HistoryOutcomeText(entry.result);
  row[kHistColReply] = ReplyMsText(entry.result.replyMs);
  row[kHistColVersionBefore] = entry.result.versionBefore;
  row[kHistColVersionAfter] = entry.result.versionAfter;
  row[kHistColBoards] = entry.result.boards;
  row[kHistColUser] = entry.user;
  return row;
}

std::vector<HistoryEntry> NewestFirst(const std::vector<std::vector<HistoryEntry>>& sites) {
  std::vector<HistoryEntry> merged;
  for (const std::vector<HistoryEntry>& site : sites) merged.insert(merged.end(), site.begin(), site.end());
  std::stable_sort(merged.begin(), merged.end(),
                   [](const HistoryEntry& a, const HistoryEntry& b) { return a.time > b.time; });
  return merged;
}

}  // namespace quenderlink
