#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/PingMode.h"
#include "core/RunSite.h"
#include "core/RuntimeParams.h"
#include "core/SiteTable.h"
#include "net/EngineRequest.h"
#include "net/PingEngineListener.h"
#include "survey/RowOutcome.h"

namespace quenderlink {

// One listed site: its cells as last written, its outcome with the text that
// shows it and, while it waits, its progress in per cent. The cells are a copy: the main view renumbers
// the table when it saves and reloads the file at the end of a run, and the
// list must go on showing the sites it ran over.
struct PingSiteRow {
  std::uint16_t rowNumber = 0;
  SiteRecord site{};
  RowOutcome outcome = RowOutcome::NotSent;
  std::string results;  // the outcome as the Results column shows it
  std::optional<std::uint8_t> progress;
};

struct PingTotals {
  int total = 0;
  int pinged = 0;
  int success = 0;
  int failed = 0;
};

// The display-free part of pinging or resetting the marked sites: the list of
// marked sites, what each engine notification does to a row and to its site
// record, the totals and the end of a run. The ping sites view shows it; the
// command-line tool prints it.
class PingSitesRun : public PingEngineListener {
 public:
  PingSitesRun(SiteTable& sites, const RuntimeParams& params, PingMode mode);

  // Lists every site marked for the run (flag bit 2); each gets LastPing "User Abort"
  // until an outcome replaces it. A confirmed reset stores the confirmation's
  // time: the unit answered, so its record must not claim an abort (and
  // "Re-Ping Failed" must not reset it again).
  void FillList();
  // Fills the engine request for a run over the listed sites: the engine gets
  // its own copy of them and never reads the table.
  void PrepareRequest(EngineRequest& request);
  // The user's abort: the engine stops after its current pass.
  void Abort(EngineRequest& request);
  // Keeps only the sites that failed (others are unmarked) and lists them anew;
  // false, with nothing changed, when no listed site failed.
  [[nodiscard]] bool KeepOnlyFailedSites();
  // Counters to zero and the list filled anew, for "Re-Ping All".
  void Restart();
  // One 500 ms tick: every waiting row's progress moves on by the progress step.
  void AdvanceProgress();

  const std::vector<PingSiteRow>& rows() const { return rows_; }
  // Where the site of that row number is listed, if it is.
  std::optional<std::size_t> ListIndexOf(std::uint16_t rowNumber) const;
  const PingTotals& totals() const { return totals_; }
  bool finished() const { return finished_; }
  // Re-pinging the failed sites is offered only when some site did not succeed.
  bool canRePingFailed() const { return totals_.total != totals_.success; }
  // Results of this run whose site was no longer in the table as it was
  // listed (changed, or the list replaced): shown, but written nowhere.
  std::size_t unplacedResults() const { return copy_.unplaced(); }
  // " Total Sites = %3d       Success = %3d\r\n Pingged     = %3d       Failed  = %3d"
  std::string TotalsText() const;

  void OnPingSent(std::size_t row, int tries) override;
  void OnPingReply(std::size_t row, const ReplyNotice& notice) override;
  void OnPingTimeout(std::size_t row, int tries) override;
  void OnPingFailed(std::size_t row, int tries) override;
  void OnPingStarted() override;
  void OnPingFinished() override;
  void OnPingBadAddress(std::uint16_t row) override;
  void OnResetConfirmed(std::uint16_t row, const ReplyNotice& notice) override;
  void OnEngineMessage(const std::string& text) override;

  // Socket trouble the engine reported, in order.
  const std::vector<std::string>& engineMessages() const { return engineMessages_; }

 private:
  PingSiteRow* RowOf(std::size_t rowNumber);
  // The table's record of a listed site, when it is still that site.
  SiteRecord* SiteOf(const PingSiteRow& row);
  void SetLastPing(PingSiteRow& row, std::uint8_t lastPing);
  void EndRow(PingSiteRow& row, RowOutcome outcome, std::string results);

  SiteTable& sites_;
  const RuntimeParams& params_;
  PingMode mode_;
  std::uint8_t progressStep_;
  std::vector<PingSiteRow> rows_;
  // Row number to list index: a run over 65,000 sites must not search the
  // list for every notification.
  std::unordered_map<std::uint16_t, std::size_t> listIndex_;
  RunSiteCopy copy_;
  PingTotals totals_;
  std::atomic<bool> userAbort_{false};
  bool finished_ = false;
  std::vector<std::string> engineMessages_;
};

}  // namespace quenderlink
