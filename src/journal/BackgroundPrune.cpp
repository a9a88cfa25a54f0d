#include "journal/BackgroundPrune.h"

#include <cstdio>
#include <system_error>

#include "core/RuntimeParams.h"
#include "journal/Journal.h"
#include "journal/JournalPrune.h"
#include "journal/JournalTime.h"

namespace quenderlink {

namespace {

static_assert(RuntimeParams{}.journalDays == kDefaultJournalDays, "the setting's default is the journal's");

// The journal's own failures reach the user at a run's end; a prune's only
// puts it off until the next start.
void Report(const Result& pruned) {
  if (!pruned) std::fprintf(stderr, "Journal not pruned: %s\n", pruned.reason().c_str());
}

}  // namespace

BackgroundPrune::BackgroundPrune(Journal& journal, int days) {
  if (days <= 0) return;
  try {
    thread_ = std::thread([&journal, days] {
      // A damaged journal is moved aside by the writer alone.
      journal.WaitOpened();
      Report(PruneJournal(journal.file(), days, JournalNow()).result);
    });
  } catch (const std::system_error& error) {
    Report(Failure{error.what()});
  }
}

BackgroundPrune::~BackgroundPrune() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace quenderlink
