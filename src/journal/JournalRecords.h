#pragma once

#include <cstdint>
#include <string>

namespace quenderlink {

// What kind of run a journal run row is. The values are stored: never renumber.
enum class RunKind : std::uint8_t {
  Ping = 1,
  Reset = 2,
  RangeScan = 3,
  IcmpScan = 4,
  Upload = 5,
  ImportPing = 6,
  ManualPing = 7,
  TelnetSession = 8,
};

// How a run ended; Unended is a run whose program stopped before it could say.
enum class RunEnding : std::uint8_t {
  Unended = 0,
  Finished = 1,
  Aborted = 2,
  FailedToStart = 3,
};

// One unit's result. The values are stored: never renumber. The first three are
// the device pings that availability counts; the ICMP echo has its own, as an
// echo answered says only that the address is reachable.
enum class ResultOutcome : std::uint8_t {
  Answered = 1,
  NoAnswer = 2,
  BadAddress = 3,
  Aborted = 4,
  ResetConfirmed = 5,
  UploadSucceeded = 6,
  UploadFailed = 7,
  EchoAnswered = 8,
  EchoNoAnswer = 9,
  SessionOpened = 10,
  SessionFailed = 11,
};

// Where a failed upload stopped; stored with the result.
enum class UploadStep : std::uint8_t {
  None = 0,
  Identification = 1,
  RamLoader = 2,
  Packets = 3,
  NewProgram = 4,
  NotServed = 5,
};

// A unit as a run saw it, in UTF-8. A unit whose identity changes is a new unit.
struct JournalUnit {
  std::string address;
  std::uint16_t port = 0;
  std::string host;
  std::string siteName;
  std::string milepost;
  int track = 0;
  int subdivision = 0;
  int siteId = 0;
  int product = 0;

  friend bool operator==(const JournalUnit&, const JournalUnit&) = default;
};

struct JournalResult {
  ResultOutcome outcome = ResultOutcome::Answered;
  UploadStep step = UploadStep::None;
  int replyMs = -1;  // none when negative
  std::string versionBefore;
  std::string versionAfter;  // the version the unit answered with
  std::string boards;        // "comm / reader / speech" versions as the unit told them
  std::string error;
};

// A result that is its outcome alone (and, for a failed upload, its step).
inline JournalResult ResultOf(ResultOutcome outcome, UploadStep step = UploadStep::None) {
  JournalResult result;
  result.outcome = outcome;
  result.step = step;
  return result;
}

// What a run row holds besides its kind and times.
struct JournalRunInfo {
  RunKind kind = RunKind::Ping;
  std::string siteList;
  std::string settings;  // the settings that shape the run, "name=value; ..."
};

struct JournalTotals {
  std::int64_t total = 0;
  std::int64_t succeeded = 0;
  std::int64_t failed = 0;
};

// The texts the history, the reports and the command line show.
const char* RunKindText(RunKind kind);
const char* OutcomeText(ResultOutcome outcome);
const char* UploadStepText(UploadStep step);
// The kind named by its text ("ping", "reset", ...); false when there is none.
bool RunKindFromText(const std::string& text, RunKind& kind);

}  // namespace quenderlink
