#pragma once

#include <string>

#include "core/ProgramState.h"
#include "core/UserPrompts.h"
#include "journal/JournalRun.h"

namespace quenderlink {

// A run of `kind` in the program's journal, on the site list the program has
// open; a run that records nothing when the program keeps no journal.
JournalRun StartJournalRun(const ProgramState& state, RunKind kind, std::string settings);

// Asked at the end of every run: the user is told, once, why the journal
// could not be written.
void TellJournalFailure(const ProgramState& state, UserPrompts& prompts);

}  // namespace quenderlink
