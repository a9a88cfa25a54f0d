#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/ProgramState.h"
#include "core/RuntimeParams.h"
#include "journal/JournalRun.h"
#include "net/IcmpJob.h"
#include "survey/AddressRange.h"
#include "survey/ScanTotals.h"

namespace quenderlink {

inline constexpr std::size_t kIcmpJobSlots = 20;
inline constexpr std::size_t kIcmpAddressLength = 17;
inline constexpr std::uint16_t kNoIcmpReply = 65535;

enum class IcmpEntryState : std::uint8_t { Waiting, Running, Failed, Done };

// One address of a scan and its reply times; the minimum stays kNoIcmpReply
// until a try succeeds, which is how a finished address is judged.
struct IcmpEntry {
  std::string address;
  IcmpEntryState state = IcmpEntryState::Waiting;
  std::uint16_t minMs = kNoIcmpReply;
  std::uint16_t maxMs = 0;
  std::uint32_t sumMs = 0;
};

// One address as the list shows it; the save commands read the numbers back
// from these texts.
struct IcmpRow {
  std::string cnt;
  std::string address;
  std::array<std::string, kIcmpTries> tries;
  std::string min;
  std::string max;
  std::string avg;
  std::string comments;
};

// What a call changed: the rows to redraw, and whether the run ended with it.
struct IcmpRunChange {
  std::vector<std::size_t> rows;
  bool ended = false;
};

// How many addresses the window pings at once: the library method one after
// the other, the others kIcmpJobSlots.
[[nodiscard]] std::size_t IcmpWindowParallel(IcmpScanMode mode);

// The display-free part of an ICMP scan: the addresses, their rows, the pool of
// jobs (one per address pinged at once) and which address starts when. It owns
// no thread: each job it fills goes to the starter, which runs the scan's
// method on it and must not report back before it returns. The engines'
// reports are handed to the On... calls, one at a time; a job's slot may be
// filled again while its finished thread is still returning from OnDone, so
// the owner joins a thread only once it has returned.
class IcmpScanRun {
 public:
  using Starter = std::function<void(IcmpJob&)>;

  // `parallel` (at least 1) addresses are pinged at once.
  IcmpScanRun(IcmpScanMode mode, std::size_t parallel, IcmpListener* listener, std::function<IcmpParams()> params,
              Starter starter);
  IcmpScanRun(const IcmpScanRun&) = delete;
  IcmpScanRun& operator=(const IcmpScanRun&) = delete;

  // A new run over the range, or over the given addresses (the listed sites).
  // A row shows its address cut to 17 characters; the whole text is pinged, as
  // a cut host name would name another host. Both start what they can at once;
  // only while no run lasts, as the slots are taken over.
  IcmpRunChange StartRange(const AddressRange& range);
  IcmpRunChange StartAddresses(std::vector<std::string> addresses);
  // Journals each address's end in the run started next: `units` are the
  // listed sites by address, answered or not; without them (a range) only an
  // address that answered is kept, as a silent one is no unit. The run's end
  // ends the journal's run.
  void JournalTo(JournalRun run, std::vector<JournalUnit> units = {});
  // Nothing more starts and the running addresses stop after their current
  // try; the rows never started say so.
  IcmpRunChange Abort();

  // Try, error and raw texts all go to the row's comment.
  std::optional<std::size_t> OnText(std::uint16_t index, const std::string& text);
  // A successful try of any method.
  std::optional<std::size_t> OnReply(std::uint16_t index, const IcmpTryResult& result);
  std::optional<std::size_t> OnTryFailed(std::uint16_t index, const IcmpTryResult& result);
  std::optional<std::size_t> OnStatus(std::uint16_t index, const IcmpTryResult& result);
  IcmpRunChange OnDone(std::uint16_t index);

  bool Running() const { return running_; }
  const std::vector<IcmpRow>& rows() const { return rows_; }
  const std::vector<IcmpEntry>& entries() const { return entries_; }
  const ScanTotals& totals() const { return totals_; }
  std::string TotalsText() const { return ScanTotalsText(totals_); }

 private:
  IcmpJob* FreeSlot();
  IcmpJob* SlotOf(std::uint16_t index);
  bool AllSlotsFree() const;
  void Finish(std::size_t index, const IcmpJob& job);
  void Schedule(IcmpRunChange& change);
  void JournalEnd(std::size_t index);

  IcmpScanMode mode_;
  IcmpListener* listener_;
  std::function<IcmpParams()> params_;
  Starter starter_;
  std::vector<IcmpEntry> entries_;
  std::vector<IcmpRow> rows_;
  // The jobs' threads hold references to their slots: sized once, never moved.
  std::vector<IcmpJob> jobs_;
  std::uint16_t sequenceBase_ = 0;
  ScanTotals totals_;
  bool stop_ = false;
  bool running_ = false;
  std::atomic<bool> abort_{false};
  JournalRun journal_;
  std::vector<JournalUnit> journalUnits_;
  std::vector<std::size_t> journalUnitOfEntry_;
};

}  // namespace quenderlink
