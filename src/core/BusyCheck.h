#pragma once

#include "core/ProgramState.h"
#include "core/UserPrompts.h"

namespace quenderlink {

// The check every run applies before it starts: one run at a time in the whole
// program, since the busy flag has a single owner and a second run would clear
// it under the first. True, after error 402, while a ping or an upload runs.
[[nodiscard]] bool RefuseWhenBusy(const OperationState& operations, UserPrompts& prompts);

}  // namespace quenderlink
