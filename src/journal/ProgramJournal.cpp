#include "journal/ProgramJournal.h"

#include "journal/Journal.h"

namespace quenderlink {

JournalRun StartJournalRun(const ProgramState& state, RunKind kind, std::string settings) {
  if (state.journal == nullptr) return {};
  return state.journal->StartRun({kind, state.currentSiteFile, std::move(settings)});
}

void TellJournalFailure(const ProgramState& state, UserPrompts& prompts) {
  if (state.journal == nullptr) return;
  if (const std::string failure = state.journal->TakeUntoldFailure(); !failure.empty()) prompts.ShowMessage(failure);
}

}  // namespace quenderlink
