#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/RuntimeParams.h"
#include "journal/JournalRun.h"
#include "net/EngineRequest.h"
#include "net/PingEngineListener.h"
#include "net/RangeEntry.h"
#include "survey/AddressRange.h"
#include "survey/RowOutcome.h"
#include "survey/ScanTotals.h"

namespace quenderlink {

// One scanned address as the list shows it: the columns are texts, filled from
// the unit's reply. The save commands read them back.
// A scanned address's row; its texts are UTF-8.
// What a unit's reply told of it as numbers: a saved row takes them from here,
// the row's texts are made from them.
struct RangeReplyValues {
  std::uint16_t subdivCode = 0;
  std::uint16_t siteId = 0;
  std::uint8_t productType = 0;
  std::uint8_t versionMajor = 0;
  std::uint8_t versionMinor = 0;
  std::int8_t versionBuild = 0;
};

struct RangeRow {
  RowOutcome outcome = RowOutcome::NotSent;
  RangeReplyValues values;
  std::string subdivCode;  // the hidden column: SubdivCode as "%d"
  bool checked = false;
  std::string address;
  std::string subdivision;
  std::string siteId;   // "%05d"
  std::string siteName;
  std::string milepost;
  std::string track;    // the track text as the unit reports it
  std::string product;  // short name; filled only for railroad NS
  std::string version;
  std::string status;  // the outcome as the Status column shows it
  std::string comm;
  std::string reader;
  std::string speech;
};

// The display-free part of an address range scan: the range table the engine
// works on, what each notification does to a row, the totals and the end of a
// run. The range view shows it; the command-line tool prints it.
class RangeScanRun : public PingEngineListener {
 public:
  RangeScanRun(const AddressRange& range, std::uint16_t port, const RuntimeParams& params);

  void PrepareRequest(EngineRequest& request);
  // Journals each unit that answers (a silent address is no unit) and the
  // run's end, aborted when the user stopped it.
  void JournalTo(JournalRun run) { journal_ = std::move(run); }
  void Abort(EngineRequest& request);
  // One 500 ms tick: every address sent to and still waiting moves its progress on.
  void AdvanceProgress();

  std::uint16_t port() const { return port_; }
  std::vector<RangeRow>& rows() { return rows_; }
  const std::vector<RangeRow>& rows() const { return rows_; }
  const RangeEntry& entry(std::size_t index) const { return entries_[index]; }
  const ScanTotals& totals() const { return totals_; }
  std::string TotalsText() const { return ScanTotalsText(totals_); }

  void OnPingSent(std::size_t index, int tries) override;
  void OnPingReply(std::size_t index, const ReplyNotice& notice) override;
  void OnPingTimeout(std::size_t index, int tries) override;
  void OnPingFailed(std::size_t index, int tries) override;
  void OnPingStarted() override;
  void OnPingFinished() override;
  void OnPingBadAddress(std::uint16_t row) override;
  void OnResetConfirmed(std::uint16_t row, const ReplyNotice& notice) override;
  void OnEngineMessage(const std::string& text) override;

  // Socket trouble the engine reported, in order.
  const std::vector<std::string>& engineMessages() const { return engineMessages_; }

 private:
  void FillRow(RangeRow& row, const DeviceReply& reply) const;

  std::uint16_t port_;
  const RuntimeParams& params_;
  std::uint8_t progressStep_;
  std::unique_ptr<RangeEntry[]> entries_;  // atomics: never moved while a run lasts
  std::size_t entryCount_;
  std::vector<RangeRow> rows_;
  ScanTotals totals_;
  std::atomic<bool> userAbort_{false};
  std::vector<std::string> engineMessages_;
  JournalRun journal_;
};

}  // namespace quenderlink
