#include "upload/JournalUploadRecorder.h"

#include "core/VersionText.h"
#include "journal/JournalUnits.h"

namespace quenderlink {

namespace {

UploadStep StepOf(UploadOutcome outcome) {
  switch (outcome) {
    case UploadOutcome::NoDeviceAnswer: return UploadStep::Identification;
    case UploadOutcome::NoRamLoaderAnswer: return UploadStep::RamLoader;
    case UploadOutcome::NoPacketAnswer: return UploadStep::Packets;
    case UploadOutcome::NewProgramSilent: return UploadStep::NewProgram;
    case UploadOutcome::NotServed: return UploadStep::NotServed;
    case UploadOutcome::NotStarted:
    case UploadOutcome::Running:
    case UploadOutcome::Loaded:
    case UploadOutcome::Answered: return UploadStep::None;
  }
  return UploadStep::None;
}

}  // namespace

JournalUploadRecorder::JournalUploadRecorder(JournalRun run, UploadEngineListener& inner,
                                             const std::atomic<std::uint8_t>& stop)
    : run_(std::move(run)), inner_(inner), stop_(stop) {}

void JournalUploadRecorder::AddSite(const SiteRecord& record) {
  units_[std::uint16_t{record.RowNumber}] = Unit{run_.AddUnit(JournalUnitOf(record)),
                                  VersionText(record.VersionMajor, record.VersionMinor), UploadOutcome::NotStarted,
                                  false};
  ++totals_.total;
}

void JournalUploadRecorder::Decide(Unit& unit, JournalResult result) {
  if (unit.recorded) return;
  unit.recorded = true;
  result.versionBefore = unit.versionBefore;
  ++(result.outcome == ResultOutcome::UploadSucceeded ? totals_.succeeded : totals_.failed);
  run_.Record(unit.index, std::move(result));
}

void JournalUploadRecorder::OnJobAddress(std::uint16_t row, const std::string& address) {
  inner_.OnJobAddress(row, address);
}

void JournalUploadRecorder::OnUploadEvent(UploadEvent event, std::uint16_t row, int value) {
  if (const auto found = units_.find(row); found != units_.end()) {
    Unit& unit = found->second;
    unit.outcome = OutcomeAfter(unit.outcome, event);
    if (IsFailed(unit.outcome) || unit.outcome == UploadOutcome::NewProgramSilent) {
      JournalResult result = ResultOf(ResultOutcome::UploadFailed, StepOf(unit.outcome));
      result.error = std::string("no answer at the ") + UploadStepText(result.step) + " step";
      Decide(unit, std::move(result));
    }
  }
  inner_.OnUploadEvent(event, row, value);
}

void JournalUploadRecorder::OnPacketText(std::uint16_t row, const std::string& text) { inner_.OnPacketText(row, text); }

void JournalUploadRecorder::OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) {
  if (const auto found = units_.find(row); found != units_.end()) {
    found->second.outcome = UploadOutcome::Answered;
    JournalResult result = AnsweredResult(reply, -1);
    result.outcome = ResultOutcome::UploadSucceeded;
    Decide(found->second, std::move(result));
  }
  inner_.OnNewProgramAnswered(row, reply);
}

void JournalUploadRecorder::OnUploadFailed(UploadFailure failure, std::uint16_t row, const std::string& text) {
  // Only a unit its socket could not be had for fails alone; any other failure is the run's.
  if (failure != UploadFailure::NoSocket) runFailed_ = true;
  if (const auto found = units_.find(row); failure == UploadFailure::NoSocket && found != units_.end()) {
    JournalResult result = ResultOf(ResultOutcome::UploadFailed, UploadStep::NotServed);
    result.error = text;
    Decide(found->second, std::move(result));
  }
  inner_.OnUploadFailed(failure, row, text);
}

void JournalUploadRecorder::OnUploadDone() {
  const RunEnding ending = runFailed_ && totals_.succeeded + totals_.failed == 0 ? RunEnding::FailedToStart
                           : stop_.load() != 0                                ? RunEnding::Aborted
                                                                              : RunEnding::Finished;
  run_.End(ending, totals_);
  inner_.OnUploadDone();
}

}  // namespace quenderlink
