#include "upload/UploadListRun.h"

#include <utility>

#include "core/Lookups.h"
#include "core/Printf.h"
#include "core/VersionText.h"
#include "net/ReplyToSite.h"

namespace quenderlink {

UploadListRun::UploadListRun(SiteTable& sites, const RuntimeParams& params) : sites_(sites), params_(params) {}

void UploadListRun::FillList() {
  rows_.clear();
  for (const SiteRecord& site : sites_.records())
    if (site.SiteFlags & kFlagHighlighted) rows_.push_back(UploadListRow{site, {}, kUploadWaitingText, {}});
  tally_ = UploadTally{static_cast<unsigned>(rows_.size()), 0, 0};
  totalPackets_ = 0;
  copy().Take(sites_, kFlagHighlighted);
}

std::vector<SiteRecord> UploadListRun::ListedSites() const {
  std::vector<SiteRecord> sites;
  sites.reserve(rows_.size());
  for (const UploadListRow& row : rows_) sites.push_back(row.site);
  return sites;
}

std::optional<std::size_t> UploadListRun::Find(std::uint16_t row) const {
  for (std::size_t index = 0; index < rows_.size(); ++index)
    if (rows_[index].site.RowNumber == row) return index;
  return std::nullopt;
}

void UploadListRun::Settle(std::size_t at, UploadOutcome outcome) {
  tally_.Count(std::exchange(rows_[at].outcome, outcome), outcome);
}

std::size_t UploadListRun::SetStatus(std::size_t at, std::string text, LogClass kind, bool stampTime) {
  UploadListRow& listed = rows_[at];
  if (stampTime) listed.time = TimeStampText();
  listed.status = std::move(text);
  listed.kind = kind;
  return at;
}

std::optional<std::size_t> UploadListRun::OnUploadEvent(UploadEvent event, std::uint16_t row, int value) {
  if (event == UploadEvent::TotalPackets) totalPackets_ = static_cast<unsigned>(value);
  const std::optional<std::size_t> found = Find(row);
  if (!found) return std::nullopt;
  const std::size_t at = *found;
  Settle(at, OutcomeAfter(rows_[at].outcome, event));
  const int resends = 2 * params_.pingMaxResend;
  const int wait = params_.pingMaxWaitResponse;
  switch (event) {
    case UploadEvent::Start: return SetStatus(at, "IN PROCESS...", LogClass::Progress, false);
    case UploadEvent::IdentificationSent:
      return SetStatus(at, Printf("Sending Ping %d of %d, wait %d sec for answer\n", value, resends, wait),
                       LogClass::Progress);
    case UploadEvent::IdentificationReceived:
      return SetStatus(at, Printf("Rcvd Device ID - TWD %d", row), LogClass::Progress);
    case UploadEvent::IdentificationTimeout:
      return SetStatus(at, Printf("Caution! No Response from TWD %d\n", row), LogClass::Caution);
    case UploadEvent::RunRamLoaderSent:
      return SetStatus(at, Printf("Sending Run RAM Loader, Will wait %d seconds", params_.uploadMinWaitRamLoader),
                       LogClass::Progress);
    case UploadEvent::IdentificationGivenUp: return SetStatus(at, "ERROR: No Response from Device", LogClass::Error);
    case UploadEvent::RamLoaderPingSent:
      return SetStatus(at, Printf("Sent Ping %d to RAM-Loader", value), LogClass::Progress);
    case UploadEvent::RamLoaderGivenUp:
      return SetStatus(at, "CRITICAL ERROR! No Response from RAM-Loader", LogClass::Error);
    case UploadEvent::Nak: return SetStatus(at, "NAK from Device", LogClass::Progress);
    case UploadEvent::Fragmented: return SetStatus(at, Printf("FRAGMENTED (Pkt Sent= %d)", value), LogClass::Caution);
    case UploadEvent::PacketTimeout: return SetStatus(at, "CAUTION: No Response from Device", LogClass::Caution);
    case UploadEvent::PacketGivenUp:
      return SetStatus(at, "CRITICAL ERROR! NO Response from Device", LogClass::Error);
    case UploadEvent::LastPacketAcknowledged:
      return SetStatus(at, Printf("Sending Reboot RAM-Loader, wait %d secs", params_.uploadMinWaitRamLoader),
                       LogClass::Progress);
    case UploadEvent::NewProgramPingSent:
      return SetStatus(at, Printf("Sending Ping %d of %d to NEW Program, wait %d sec for OK", value, resends, wait),
                       LogClass::Progress);
    case UploadEvent::NewProgramGivenUp:
      return SetStatus(at, "Program Loaded, but No Response from NEW Program!", LogClass::Caution);
    // The row keeps its status.
    case UploadEvent::TotalPackets:
    case UploadEvent::Ack: return std::nullopt;
    // These come by calls of their own.
    case UploadEvent::PacketText:
    case UploadEvent::NewProgramAnswered:
    case UploadEvent::EngineDone: return std::nullopt;
  }
  return std::nullopt;
}

std::optional<std::size_t> UploadListRun::OnPacketText(std::uint16_t row, const std::string& text) {
  const std::optional<std::size_t> found = Find(row);
  if (!found) return std::nullopt;
  return SetStatus(*found, Printf("%s, wait %d secs for OK", text.c_str(), params_.pingMaxWaitResponse),
                   LogClass::Progress);
}

std::optional<std::size_t> UploadListRun::OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) {
  const std::optional<std::size_t> found = Find(row);
  if (!found) return std::nullopt;
  Settle(*found, OutcomeAfter(rows_[*found].outcome, UploadEvent::NewProgramAnswered));
  SetStatus(*found, "SUCCESS: Response from Ver " + VersionText(reply.VersionMajor, reply.VersionMinor),
            LogClass::Success);
  if (const SiteRecord* site = WriteNewProgramReply(row, reply, params_.allowChangeSiteName)) {
    rows_[*found].site = *site;
  } else {
    CopyNewProgramReplyIntoSite(reply, params_.allowChangeSiteName, rows_[*found].site);
  }
  return found;
}

std::optional<std::size_t> UploadListRun::OnJobFailed(std::uint16_t row, const std::string& text) {
  const std::optional<std::size_t> found = Find(row);
  if (!found) return std::nullopt;
  Settle(*found, UploadOutcome::NotServed);
  return SetStatus(*found, text, LogClass::Error);
}

}  // namespace quenderlink
