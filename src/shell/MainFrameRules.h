#pragma once

#include <cstdint>
#include <string>

#include "core/ErrorMessages.h"
#include "core/ProgramState.h"
#include "core/ProgramVersion.h"
#include "core/UserPrompts.h"

namespace quenderlink {

// The main view's title: "%s Start Page (Ver %s)" with the railroad's name for
// railroads 1 to 5, "Start Page (Ver_%s)" for any other code.
std::string MainViewTitle(std::uint8_t railroadCode);

// "Reduce Height" as the frame applies it: a value above half the screen is taken as 80.
int EffectiveReduceHeight(int reduceHeight, int screenHeight);
// The tallest the main window may be made.
int MaxTrackingHeight(int reduceHeight, int screenHeight);

// The close rule of the main window: refused with error 402 while a ping or an
// upload runs; otherwise every open view is told and true is returned.
[[nodiscard]] bool MayCloseMainWindow(ProgramState& state, UserPrompts& prompts);

}  // namespace quenderlink
