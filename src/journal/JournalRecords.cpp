#include "journal/JournalRecords.h"

#include <array>
#include <utility>

namespace quenderlink {

namespace {

constexpr std::array<std::pair<RunKind, const char*>, 8> kKindTexts{{
    {RunKind::Ping, "ping"},
    {RunKind::Reset, "reset"},
    {RunKind::RangeScan, "range scan"},
    {RunKind::IcmpScan, "icmp scan"},
    {RunKind::Upload, "upload"},
    {RunKind::ImportPing, "import ping"},
    {RunKind::ManualPing, "manual ping"},
    {RunKind::TelnetSession, "telnet session"},
}};

}  // namespace

const char* RunKindText(RunKind kind) {
  for (const auto& [each, text] : kKindTexts) {
    if (each == kind) return text;
  }
  return "unknown";
}

bool RunKindFromText(const std::string& text, RunKind& kind) {
  for (const auto& [each, eachText] : kKindTexts) {
    if (text == eachText) {
      kind = each;
      return true;
    }
  }
  return false;
}

const char* OutcomeText(ResultOutcome outcome) {
  switch (outcome) {
    case ResultOutcome::Answered: return "answered";
    case ResultOutcome::NoAnswer: return "no answer";
    case ResultOutcome::BadAddress: return "bad address";
    case ResultOutcome::Aborted: return "aborted";
    case ResultOutcome::ResetConfirmed: return "reset confirmed";
    case ResultOutcome::UploadSucceeded: return "upload succeeded";
    case ResultOutcome::UploadFailed: return "upload failed";
    case ResultOutcome::EchoAnswered: return "echo answered";
    case ResultOutcome::EchoNoAnswer: return "no echo";
    case ResultOutcome::SessionOpened: return "session opened";
    case ResultOutcome::SessionFailed: return "session failed";
  }
  return "unknown";
}

const char* UploadStepText(UploadStep step) {
  switch (step) {
    case UploadStep::None: return "";
    case UploadStep::Identification: return "identification";
    case UploadStep::RamLoader: return "RAM loader";
    case UploadStep::Packets: return "packets";
    case UploadStep::NewProgram: return "new program";
    case UploadStep::NotServed: return "not served";
  }
  return "";
}

}  // namespace quenderlink
