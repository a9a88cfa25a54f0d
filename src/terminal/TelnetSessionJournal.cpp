#include "terminal/TelnetSessionJournal.h"

#include "journal/JournalUnits.h"
#include "terminal/ConnectErrorText.h"

namespace quenderlink {

void TelnetSessionJournal::Start(JournalRun run, const SiteRecord& site) {
  run_ = std::move(run);
  unit_ = run_.AddUnit(JournalUnitOf(site));
  opened_ = false;
  running_ = true;
}

bool TelnetSessionJournal::OnConnectionChanged(bool connected, int connectError) {
  if (!running_) return false;
  if (connected) {
    opened_ = true;
    run_.Record(unit_, ResultOf(ResultOutcome::SessionOpened));
    return false;
  }
  if (!opened_) {
    JournalResult failed = ResultOf(ResultOutcome::SessionFailed);
    failed.error = ConnectErrorText(connectError);
    run_.Record(unit_, std::move(failed));
  }
  run_.End(RunEnding::Finished, {1, opened_ ? 1 : 0, opened_ ? 0 : 1});
  running_ = false;
  return true;
}

}  // namespace quenderlink
