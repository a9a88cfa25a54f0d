#pragma once

#include "survey/RowOutcome.h"

namespace quenderlink {

// How a listed site's row is coloured.
enum class PingRowLook { Plain, Sending, Success, Failed };

constexpr PingRowLook PingRowLookOf(RowOutcome outcome) {
  switch (outcome) {
    case RowOutcome::Success:
    case RowOutcome::ResetConfirmed: return PingRowLook::Success;
    case RowOutcome::NoAnswer:
    case RowOutcome::BadAddress: return PingRowLook::Failed;
    case RowOutcome::Sending: return PingRowLook::Sending;
    case RowOutcome::NotSent:
    case RowOutcome::UserAbort: return PingRowLook::Plain;
  }
  return PingRowLook::Plain;
}

}  // namespace quenderlink
