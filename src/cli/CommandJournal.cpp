#include "cli/CommandJournal.h"

#include <pthread.h>
#include <signal.h>

#include <iostream>
#include <system_error>

#include "cli/StopSignals.h"
#include "journal/JournalFile.h"

namespace quenderlink::cli {

CommandJournal::CommandJournal(ProgramState& state) : state_(state) {
  // The writer thread inherits Ctrl-C and SIGTERM blocked: they stay for the
  // thread that ends a run the way an aborted run ends, never ending the program.
  const sigset_t stopping = StopSignalSet();
  sigset_t previous;
  pthread_sigmask(SIG_BLOCK, &stopping, &previous);
  try {
    journal_.emplace(state.programFolder / kJournalFileName);
    state_.journal = &*journal_;
  } catch (const std::system_error& error) {
    // A journal never stops a run, not even one whose writer finds no thread.
    failure_ = "Journal not written: its writer could not be started: " + std::string(error.what());
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

CommandJournal::~CommandJournal() {
  if (journal_) {
    journal_->Flush();
    failure_ = journal_->TakeUntoldFailure();
  }
  if (!failure_.empty()) std::cerr << "quenderlink-cli: " << failure_ << '\n';
  state_.journal = nullptr;
}

JournalRun CommandJournal::StartRun(RunKind kind, const std::string& siteList, std::string settings) {
  if (!journal_) return {};
  return journal_->StartRun(JournalRunInfo{kind, siteList, std::move(settings)});
}

}  // namespace quenderlink::cli
