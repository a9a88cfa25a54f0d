#include "shell/MainFrameRules.h"

#include "core/BusyCheck.h"
#include "core/Lookups.h"
#include "core/Printf.h"

namespace quenderlink {

namespace {
constexpr int kReduceHeightFallback = 80;
}

std::string MainViewTitle(std::uint8_t railroadCode) {
  if (railroadCode >= kRailroadBhp && railroadCode <= kRailroadNs) {
    return Printf("%s Start Page (Ver %s)", RailroadName(railroadCode).c_str(), kProgramVersion);
  }
  return Printf("Start Page (Ver_%s)", kProgramVersion);
}

int EffectiveReduceHeight(int reduceHeight, int screenHeight) {
  return reduceHeight > screenHeight / 2 ? kReduceHeightFallback : reduceHeight;
}

int MaxTrackingHeight(int reduceHeight, int screenHeight) {
  return screenHeight - EffectiveReduceHeight(reduceHeight, screenHeight);
}

bool MayCloseMainWindow(ProgramState& state, UserPrompts& prompts) {
  if (RefuseWhenBusy(state.operations, prompts)) return false;
  state.openViews.NotifyMainWindowClosing();
  return true;
}

}  // namespace quenderlink
