#include "upload/UploadListRun.h"

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

std::optional<std::size_t> UploadListRun::Find(std::uint16_t row) const {
  for (std::size_t index = 0; index < rows_.size(); ++index)
    if (rows_[index].site.RowNumber == row) return index;
  return std::nullopt;
}

std::optional<std::size_t> UploadListRun::SetStatus(std::uint16_t row, std::string text, LogClass kind,
                                                    bool stampTime) {
  const std::optional<std::size_t> found = Find(row);
  if (!found) return std::nullopt;
  UploadListRow& listed = rows_[*found];
  if (stampTime) listed.time = TimeStampText();
  listed.status = std::move(text);
  listed.kind = kind;
  return found;
}

std::optional<std::size_t> UploadListRun::OnUploadEvent(UploadEvent event, std::uint16_t row, int value) {
  const int resends = 2 * params_.pingMaxResend;
  const int wait = params_.pingMaxWaitResponse;
  std::optional<std::size_t> changed;
  switch (event) {
    case UploadEvent::Start: return SetStatus(row, "IN PROCESS...", LogClass::Progress, false);
    case UploadEvent::IdentificationSent:
      return SetStatus(row, Printf("Sending Ping %d of %d, wait %d sec for answer\n", value, resends, wait),
                       LogClass::Progress);
    case UploadEvent::TotalPackets: totalPackets_ = static_cast<unsigned>(value); return std::nullopt;
    case UploadEvent::IdentificationReceived:
      return SetStatus(row, Printf("Rcvd Device ID - TWD %d", row), LogClass::Progress);
    case UploadEvent::IdentificationTimeout:
      return SetStatus(row, Printf("Caution! No Response from TWD %d\n", row), LogClass::Caution);
    case UploadEvent::RunRamLoaderSent:
      return SetStatus(row, Printf("Sending Run RAM Loader, Will wait %d seconds", params_.uploadMinWaitRamLoader),
                       LogClass::Progress);
    case UploadEvent::IdentificationGivenUp:
      changed = SetStatus(row, "ERROR: No Response from Device", LogClass::Error);
      break;
    case UploadEvent::RamLoaderPingSent:
      return SetStatus(row, Printf("Sent Ping %d to RAM-Loader", value), LogClass::Progress);
    case UploadEvent::RamLoaderGivenUp:
      changed = SetStatus(row, "CRITICAL ERROR! No Response from RAM-Loader", LogClass::Error);
      break;
    case UploadEvent::Ack: return std::nullopt;
    case UploadEvent::Nak: return SetStatus(row, "NAK from Device", LogClass::Progress);
    case UploadEvent::Fragmented: return SetStatus(row, Printf("FRAGMENTED (Pkt Sent= %d)", value), LogClass::Caution);
    case UploadEvent::PacketTimeout: return SetStatus(row, "CAUTION: No Response from Device", LogClass::Caution);
    case UploadEvent::PacketGivenUp:
      changed = SetStatus(row, "CRITICAL ERROR! NO Response from Device", LogClass::Error);
      break;
    case UploadEvent::LastPacketAcknowledged:
      changed = SetStatus(row, Printf("Sending Reboot RAM-Loader, wait %d secs", params_.uploadMinWaitRamLoader),
                          LogClass::Progress);
      if (changed) ++tally_.successful;
      return changed;
    case UploadEvent::NewProgramPingSent:
      return SetStatus(row, Printf("Sending Ping %d of %d to NEW Program, wait %d sec for OK", value, resends, wait),
                       LogClass::Progress);
    case UploadEvent::NewProgramGivenUp:
      return SetStatus(row, "Program Loaded, but No Response from NEW Program!", LogClass::Caution);
    // These come by calls of their own.
    case UploadEvent::PacketText:
    case UploadEvent::NewProgramAnswered:
    case UploadEvent::EngineDone: return std::nullopt;
  }
  if (changed) ++tally_.failed;
  return changed;
}

std::optional<std::size_t> UploadListRun::OnPacketText(std::uint16_t row, const std::string& text) {
  return SetStatus(row, Printf("%s, wait %d secs for OK", text.c_str(), params_.pingMaxWaitResponse),
                   LogClass::Progress);
}

std::optional<std::size_t> UploadListRun::OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) {
  const std::optional<std::size_t> changed =
      SetStatus(row, "SUCCESS: Response from Ver " + VersionText(reply.VersionMajor, reply.VersionMinor),
                LogClass::Success);
  if (!changed) return changed;
  if (const SiteRecord* site = WriteNewProgramReply(row, reply, params_.allowChangeSiteName)) {
    rows_[*changed].site = *site;
  } else {
    CopyNewProgramReplyIntoSite(reply, params_.allowChangeSiteName, rows_[*changed].site);
  }
  return changed;
}

std::optional<std::size_t> UploadListRun::OnJobFailed(std::uint16_t row, const std::string& text) {
  const std::optional<std::size_t> changed = SetStatus(row, text, LogClass::Error);
  if (changed) ++tally_.failed;
  return changed;
}

}  // namespace quenderlink
