#pragma once

#include <cstdint>

namespace quenderlink {

// Where a listed site or a scanned address stands in the current run. Rows
// decide on it; their texts only show it.
enum class RowOutcome : std::uint8_t {
  NotSent,
  Sending,  // a ping or a reset went out and waits for its answer
  Success,
  ResetConfirmed,
  NoAnswer,    // every try went unanswered
  BadAddress,  // the host names no address
  UserAbort,   // the run was stopped before the row had an outcome
};

// An answer or a failure is final: a stopped run leaves it as it is.
constexpr bool HasEnded(RowOutcome outcome) {
  switch (outcome) {
    case RowOutcome::Success:
    case RowOutcome::ResetConfirmed:
    case RowOutcome::NoAnswer:
    case RowOutcome::BadAddress: return true;
    case RowOutcome::NotSent:
    case RowOutcome::Sending:
    case RowOutcome::UserAbort: return false;
  }
  return false;
}

}  // namespace quenderlink
