#include "cli/CommandJournal.h"

#include <iostream>

#include "journal/JournalFile.h"

namespace quenderlink::cli {

CommandJournal::CommandJournal(ProgramState& state)
    : state_(state), journal_(state.programFolder / kJournalFileName) {
  state_.journal = &journal_;
}

CommandJournal::~CommandJournal() {
  journal_.Flush();
  if (const std::string failure = journal_.TakeUntoldFailure(); !failure.empty())
    std::cerr << "quenderlink-cli: " << failure << '\n';
  state_.journal = nullptr;
}

JournalRun CommandJournal::StartRun(RunKind kind, const std::string& siteList, std::string settings) {
  return journal_.StartRun(JournalRunInfo{kind, siteList, std::move(settings)});
}

}  // namespace quenderlink::cli
