#pragma once

#include <optional>
#include <string>

#include "core/ProgramState.h"
#include "journal/Journal.h"

namespace quenderlink::cli {

// The journal of a command that runs units, "journal.sqlite" in the program
// folder, which the state names as its journal while the command lasts. At its
// end everything queued is written; a journal that could not be written is
// said once on the error stream, and the command's exit code stays as the run
// made it.
class CommandJournal {
 public:
  explicit CommandJournal(ProgramState& state);
  ~CommandJournal();
  CommandJournal(const CommandJournal&) = delete;
  CommandJournal& operator=(const CommandJournal&) = delete;

  // `siteList` is the site list file the run works on, empty when none.
  JournalRun StartRun(RunKind kind, const std::string& siteList, std::string settings);

 private:
  ProgramState& state_;
  std::optional<Journal> journal_;  // none when its writer could not be started
  std::string failure_;
};

}  // namespace quenderlink::cli
