#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "core/RunSite.h"
#include "core/SiteTable.h"
#include "journal/JournalRun.h"
#include "net/PingEngineListener.h"

namespace quenderlink {

// Passes a site engine's notifications on to the run's own listener and
// journals each site's result on the way: answered, no answer, bad address or
// reset confirmed. Made on the user-interface thread with the run's copy of
// its sites; called on the engine's thread after that. The engine's end ends
// the run's journal with its totals, aborted when `stop` was set.
class JournalPingRecorder final : public PingEngineListener {
 public:
  JournalPingRecorder(JournalRun run, PingEngineListener& inner, const std::atomic<std::uint8_t>& stop);
  // The run's sites, found in the table by their row numbers, as the journal's units.
  void AddSites(const SiteTable& table, const std::vector<RunSite>& sites);
  // One site, as the run sees it.
  void AddSite(const SiteRecord& record);

  void OnPingSent(std::size_t id, int tries) override;
  void OnPingReply(std::size_t id, const ReplyNotice& notice) override;
  void OnPingTimeout(std::size_t id, int tries) override;
  void OnPingFailed(std::size_t id, int tries) override;
  void OnPingStarted() override;
  void OnPingFinished() override;
  void OnPingBadAddress(std::uint16_t row) override;
  void OnResetConfirmed(std::uint16_t row, const ReplyNotice& notice) override;
  void OnEngineMessage(const std::string& text) override;

 private:
  void Record(std::size_t row, JournalResult result, bool succeeded);

  JournalRun run_;
  PingEngineListener& inner_;
  const std::atomic<std::uint8_t>& stop_;
  std::vector<std::uint32_t> unitOfRow_;  // by row number; kNone where the run has no such site
  JournalTotals totals_;
  bool engineFailed_ = false;
};

}  // namespace quenderlink
