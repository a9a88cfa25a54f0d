#pragma once

#include "upload/UploadEvent.h"

namespace quenderlink {

// Where one unit's upload stands, by the engine's events for it: still to
// start or under way, loaded (its last packet acknowledged), answered or not by
// its new program, or failed, and at which step.
enum class UploadOutcome {
  NotStarted,
  Running,
  Loaded,
  Answered,
  NewProgramSilent,
  NoDeviceAnswer,     // the unit never identified itself
  NoRamLoaderAnswer,  // its RAM loader never answered
  NoPacketAnswer,     // a packet was never acknowledged
  NotServed,          // the engine could not serve its job
};

// The outcome once `event` came for the unit: a giving-up or the new program's
// answer or silence decides it, the last packet's acknowledgement loads a unit
// not yet decided, and any other event of the unit's has it under way.
[[nodiscard]] UploadOutcome OutcomeAfter(UploadOutcome outcome, UploadEvent event);

[[nodiscard]] bool IsFailed(UploadOutcome outcome);

}  // namespace quenderlink
