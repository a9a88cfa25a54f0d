#include "upload/UploadBoxesRun.h"

#include <cmath>
#include <utility>

#include "core/Printf.h"
#include "core/RecordText.h"
#include "core/VersionText.h"

namespace quenderlink {
namespace {

constexpr char kCompleteCaption[] = "Upload Complete!";
constexpr char kFailedCaption[] = "ERROR!";

std::string Caption(const SiteRecord& site) {
  const std::string milepost = RecordFieldUtf8(site.Milepost);
  const std::string host = RecordFieldUtf8(site.HostText);
  return Printf("MP:%s (%s::P%d) Click/Maximize", milepost.c_str(), host.c_str(), site.DevicePort);
}

}  // namespace

UploadBoxesRun::UploadBoxesRun(SiteTable& sites, const RuntimeParams& params, LineSink sink)
    : sites_(sites), params_(params), sink_(std::move(sink)) {}

void UploadBoxesRun::FillBoxes() {
  boxes_.clear();
  for (const SiteRecord& site : sites_.records()) {
    if (boxes_.size() == kMaxUploadBoxes) break;
    if (site.SiteFlags & kFlagHighlighted) boxes_.push_back({site, Caption(site), BoxMark::None});
  }
  tally_ = UploadTally{static_cast<unsigned>(boxes_.size()), 0, 0};
  copy().Take(sites_, kFlagHighlighted);
}

std::vector<SiteRecord> UploadBoxesRun::ListedSites() const {
  std::vector<SiteRecord> sites;
  sites.reserve(boxes_.size());
  for (const UploadBox& box : boxes_) sites.push_back(box.site);
  return sites;
}

std::optional<std::size_t> UploadBoxesRun::Find(std::uint16_t row) const {
  for (std::size_t box = 0; box < boxes_.size(); ++box)
    if (boxes_[box].site.RowNumber == row) return box;
  return std::nullopt;
}

std::optional<std::size_t> UploadBoxesRun::Write(std::uint16_t row, LogClass kind, const std::string& text) {
  const std::optional<std::size_t> box = Find(row);
  if (box) sink_(*box, kind, text);
  return box;
}

void UploadBoxesRun::Settle(std::size_t box, UploadOutcome outcome) {
  UploadBox& shown = boxes_[box];
  const UploadOutcome before = std::exchange(shown.outcome, outcome);
  if (outcome == before) return;
  tally_.Count(before, outcome);
  switch (outcome) {
    case UploadOutcome::NotStarted:
    case UploadOutcome::Running: return;
    case UploadOutcome::Loaded: shown.mark = BoxMark::Good; return;
    case UploadOutcome::Answered:
    case UploadOutcome::NewProgramSilent: shown.caption = kCompleteCaption; return;
    case UploadOutcome::NoDeviceAnswer:
    case UploadOutcome::NoRamLoaderAnswer:
    case UploadOutcome::NoPacketAnswer:
    case UploadOutcome::NotServed:
      shown.mark = BoxMark::Failed;
      shown.caption = kFailedCaption;
      return;
  }
}

std::optional<std::size_t> UploadBoxesRun::OnUploadEvent(UploadEvent event, std::uint16_t row, int value) {
  if (const std::optional<std::size_t> shown = Find(row)) Settle(*shown, OutcomeAfter(boxes_[*shown].outcome, event));
  std::optional<std::size_t> box;
  switch (event) {
    case UploadEvent::Start: return Write(row, LogClass::Progress, "Starting Upload\n");
    case UploadEvent::IdentificationSent:
      return Write(row, LogClass::Progress, Printf("Sending Ping #%d to TWD %d\n", value, row));
    case UploadEvent::TotalPackets:
      return Write(row, LogClass::Progress, Printf("Total Packets to send = %d\n", value));
    case UploadEvent::IdentificationReceived: return Write(row, LogClass::Response, "Received Device ID\n");
    case UploadEvent::IdentificationTimeout: return Write(row, LogClass::Caution, "Caution! No Response\n");
    case UploadEvent::RunRamLoaderSent:
      box = Write(row, LogClass::Progress, "Sending \"Run RAM Loader\"\n");
      if (box)
        sink_(*box, LogClass::Progress,
              Printf("Will wait %d seconds for Ram Loader\n", params_.uploadMinWaitRamLoader));
      return box;
    case UploadEvent::IdentificationGivenUp:
      return Write(row, LogClass::Error, Printf("ERROR! Giving-Up! No response after %d pings\n", value));
    case UploadEvent::RamLoaderPingSent:
      return Write(row, LogClass::Progress, Printf("Sending Ping #%d to RAM Loader\n", value));
    case UploadEvent::RamLoaderGivenUp:
      return Write(row, LogClass::Error,
                   Printf("ERROR! Giving-Up! No response from RAM Loader after %d pings\n", value));
    case UploadEvent::Ack: return Write(row, LogClass::Response, "ACK from field/got last packet\n");
    case UploadEvent::Nak: return Write(row, LogClass::Caution, "NAK from Device\n");
    case UploadEvent::Fragmented:
      return Write(row, LogClass::Caution, Printf("FRAGMENTED Pkt (Pkt Sent = %d)\n", value));
    case UploadEvent::PacketTimeout: return Write(row, LogClass::Caution, Printf("NO RESPONSE from TWD %d\n", row));
    case UploadEvent::PacketGivenUp: return Write(row, LogClass::Error, Printf("ERROR! Giving-Up! TWD %d\n", row));
    case UploadEvent::LastPacketAcknowledged:
      return Write(row, LogClass::Success, Printf("Sending \"RE-BOOT\" RAM Loader to TWD %d\n", row));
    case UploadEvent::NewProgramPingSent:
      return Write(row, LogClass::Progress, Printf("Sending Ping #%d to NEW Program\n", value));
    case UploadEvent::NewProgramGivenUp:
      return Write(row, LogClass::Caution, Printf("NO RESPONSE from TWD %d after %d pings\n", row, value));
    // These come by calls of their own.
    case UploadEvent::PacketText:
    case UploadEvent::NewProgramAnswered:
    case UploadEvent::EngineDone: return std::nullopt;
  }
  return std::nullopt;
}

std::optional<std::size_t> UploadBoxesRun::OnPacketText(std::uint16_t row, const std::string& text) {
  return Write(row, LogClass::Progress, text + "\n");
}

std::optional<std::size_t> UploadBoxesRun::OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) {
  const std::string version = VersionText(reply.VersionMajor, reply.VersionMinor);
  const std::optional<std::size_t> box = Write(row, LogClass::Success, "SUCCESS! NEW PROGRAM Ver = " + version + "\n");
  if (!box) return box;
  Settle(*box, OutcomeAfter(boxes_[*box].outcome, UploadEvent::NewProgramAnswered));
  WriteNewProgramReply(row, reply, params_.allowChangeSiteName);
  return box;
}

std::optional<std::size_t> UploadBoxesRun::OnJobFailed(std::uint16_t row, const std::string& text) {
  const std::optional<std::size_t> box = Write(row, LogClass::Error, text + "\n");
  if (box) Settle(*box, UploadOutcome::NotServed);
  return box;
}

BoxFont BoxFontFor(std::size_t boxCount) { return boxCount < 4 ? BoxFont{15, true} : BoxFont{13, false}; }

int BoxGridColumns(std::size_t boxCount) {
  return boxCount == 0 ? 1 : static_cast<int>(std::ceil(std::sqrt(static_cast<double>(boxCount))));
}

}  // namespace quenderlink
