#pragma once

#include <atomic>
#include <cstdint>
#include <unordered_map>

#include "core/SiteTable.h"
#include "journal/JournalRun.h"
#include "upload/UploadEngineListener.h"
#include "upload/UploadOutcome.h"

namespace quenderlink {

// Passes the upload engine's events on to the run's own listener and journals
// each unit's upload once it is decided: succeeded when its new program
// answered, else failed and at which step, with the versions before and after.
// The engine's last event ends the run's journal, aborted when `stop` was set.
class JournalUploadRecorder final : public UploadEngineListener {
 public:
  JournalUploadRecorder(JournalRun run, UploadEngineListener& inner, const std::atomic<std::uint8_t>& stop);
  // A unit of the run, as it was listed before the upload.
  void AddSite(const SiteRecord& record);

  void OnJobAddress(std::uint16_t row, const std::string& address) override;
  void OnUploadEvent(UploadEvent event, std::uint16_t row, int value) override;
  void OnPacketText(std::uint16_t row, const std::string& text) override;
  void OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) override;
  void OnUploadFailed(UploadFailure failure, std::uint16_t row, const std::string& text) override;
  void OnUploadDone() override;

 private:
  struct Unit {
    std::size_t index = 0;
    std::string versionBefore;
    UploadOutcome outcome = UploadOutcome::NotStarted;
    bool recorded = false;
  };

  void Decide(Unit& unit, JournalResult result);

  JournalRun run_;
  UploadEngineListener& inner_;
  const std::atomic<std::uint8_t>& stop_;
  std::unordered_map<std::uint16_t, Unit> units_;  // by row number
  JournalTotals totals_;
  bool runFailed_ = false;
};

}  // namespace quenderlink
