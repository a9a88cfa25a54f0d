#include "upload/UploadOutcome.h"

namespace quenderlink {

UploadOutcome OutcomeAfter(UploadOutcome outcome, UploadEvent event) {
  switch (event) {
    case UploadEvent::IdentificationGivenUp: return UploadOutcome::NoDeviceAnswer;
    case UploadEvent::RamLoaderGivenUp: return UploadOutcome::NoRamLoaderAnswer;
    case UploadEvent::PacketGivenUp: return UploadOutcome::NoPacketAnswer;
    case UploadEvent::NewProgramAnswered: return UploadOutcome::Answered;
    case UploadEvent::NewProgramGivenUp: return UploadOutcome::NewProgramSilent;
    case UploadEvent::LastPacketAcknowledged:
      return outcome == UploadOutcome::NotStarted || outcome == UploadOutcome::Running ? UploadOutcome::Loaded
                                                                                       : outcome;
    case UploadEvent::Start:
    case UploadEvent::IdentificationSent:
    case UploadEvent::TotalPackets:
    case UploadEvent::IdentificationReceived:
    case UploadEvent::IdentificationTimeout:
    case UploadEvent::RunRamLoaderSent:
    case UploadEvent::RamLoaderPingSent:
    case UploadEvent::PacketText:
    case UploadEvent::Ack:
    case UploadEvent::Nak:
    case UploadEvent::Fragmented:
    case UploadEvent::PacketTimeout:
    case UploadEvent::NewProgramPingSent:
      return outcome == UploadOutcome::NotStarted ? UploadOutcome::Running : outcome;
    // The run's end, not the unit's.
    case UploadEvent::EngineDone: return outcome;
  }
  return outcome;
}

bool IsFailed(UploadOutcome outcome) {
  switch (outcome) {
    case UploadOutcome::NotStarted:
    case UploadOutcome::Running:
    case UploadOutcome::Loaded:
    case UploadOutcome::Answered:
    case UploadOutcome::NewProgramSilent: return false;
    case UploadOutcome::NoDeviceAnswer:
    case UploadOutcome::NoRamLoaderAnswer:
    case UploadOutcome::NoPacketAnswer:
    case UploadOutcome::NotServed: return true;
  }
  return false;
}

}  // namespace quenderlink
