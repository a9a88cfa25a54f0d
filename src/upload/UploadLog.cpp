#include "upload/UploadLog.h"

#include "core/Lookups.h"
#include "core/Printf.h"
#include "core/RecordText.h"
#include "core/ReplyTimeText.h"
#include "core/VersionText.h"

namespace quenderlink {
namespace {

std::string FirmwareResult(std::uint8_t code) {
  switch (code) {
    case 10: return "SUCCESS\n";
    case 20: return "ERROR, Wrong plateform, not a nano file (20).|\n";
    case 21: return "ERROR, Invalid program file (21)            .|\n";
    case 22: return "ERROR, SD read/write error (22)             .|\n";
    case 23: return "ERROR, Same program version (23)            .|\n";
    case 24: return "ERROR, No memeory (24)                      .|\n";
    case 25: return "ERROR, General faiure (25)                  .|\n";
    case 26: return "ERROR, Train is passing (26)                .|\n";
    default: return Printf("ERROR, Unknown code from Cadmarin-2 (%d)    .|\n", code);
  }
}

}  // namespace

std::string ReplySummary(const DeviceReply& reply, unsigned railroadCode, bool withReplyTime) {
  std::string summary;
  if (withReplyTime)
    summary += "PING Response = " + TenthsText(reply.ReplyTenths) + " seconds\n";
  if (railroadCode == kRailroadCpr) {
    summary += "\n      ______________________________________________\n";
    summary += "      |  Firmware upload/update results:\n";
    summary += "      |  " + FirmwareResult(reply.LastUploadCode);
    summary += "      |______________________________________________\n\n";
  }
  const std::string ip = RecordFieldUtf8(reply.IpText);
  const std::string milepost = RecordFieldUtf8(reply.Milepost);
  const std::string name = RecordFieldUtf8(reply.SiteName);
  const std::string track = RecordFieldUtf8(reply.TrackId);
  summary += Printf(
      "\r\n**** Response Type = %s\r\n**** IP Address: %s\r\n**** Milepost  : %s\r\n**** Version   : %s %s\n",
      reply.Powerup ? "Powerup" : "Ready", ip.c_str(), milepost.c_str(), ProductShortName(reply.ProductType).c_str(),
      VersionText(reply.VersionMajor, reply.VersionMinor).c_str());
  summary += Printf("**** Site Name : %s\r\n**** Track-ID  : %s\n\n", name.c_str(), track.c_str());
  return summary;
}

UploadLog::UploadLog(const RuntimeParams& params, LineSink sink) : params_(params), sink_(std::move(sink)) {}

void UploadLog::OnUploadEvent(UploadEvent event, std::uint16_t row, int value) {
  switch (event) {
    case UploadEvent::Start: return Line(row, LogClass::Progress, "Starting Upload\n");
    case UploadEvent::IdentificationSent: return Line(row, LogClass::Progress, Printf("Sending Ping #%d\n", value));
    case UploadEvent::TotalPackets: return Line(row, LogClass::Progress, Printf("Total Packets to send = %d\n", value));
    case UploadEvent::IdentificationReceived: return Line(row, LogClass::Response, "Received Device ID\n");
    case UploadEvent::IdentificationTimeout: return Line(row, LogClass::Caution, "Caution! No Response\n");
    case UploadEvent::RunRamLoaderSent:
      Line(row, LogClass::Progress, "Sending \"Run RAM Loader\"\n");
      return Line(row, LogClass::Progress,
                  Printf("Will wait %d seconds for Ram Loader\n", params_.uploadMinWaitRamLoader));
    case UploadEvent::IdentificationGivenUp:
      return Line(row, LogClass::Error, Printf("ERROR! Giving-Up! No response after %d pings\n", value));
    case UploadEvent::RamLoaderPingSent:
      return Line(row, LogClass::Progress, Printf("Sending Ping #%d to RAM Loader\n", value));
    case UploadEvent::RamLoaderGivenUp:
      return Line(row, LogClass::Error,
                  Printf("ERROR! Giving-Up! No response from RAM Loader after %d pings\n", value));
    case UploadEvent::Ack: return Line(row, LogClass::Response, "ACK from field unit (got last packet)\n");
    case UploadEvent::Nak: return Line(row, LogClass::Caution, "NAK from Device\n");
    case UploadEvent::Fragmented:
      return Line(row, LogClass::Caution, Printf("CAUTION! FRAGMENTED Packet (PktSent = %d)\n", value));
    case UploadEvent::PacketTimeout: return Line(row, LogClass::Caution, "CAUTION: No Response!\n");
    case UploadEvent::PacketGivenUp: return Line(row, LogClass::Error, "ERROR! Giving-Up!\n");
    case UploadEvent::LastPacketAcknowledged:
      Line(row, LogClass::Progress, "Sending \"RE-BOOT\" Device\n");
      return Line(row, LogClass::Success,
                  "\n****************************************\n"
                  "******      NOTE: The unit is resetting itself.\n"
                  "******      It will take several seconds to reset and get an IP address.\n"
                  "****************************************\n\n");
    case UploadEvent::NewProgramPingSent:
      return Line(row, LogClass::Progress,
                  Printf("Sending Ping #%d of %d to NEW PROGRAM, will wait %d seconds\n", value,
                         2 * params_.pingMaxResend, params_.pingMaxWaitResponse / 2));
    case UploadEvent::NewProgramGivenUp:
      return Line(row, LogClass::Caution, Printf("CAUTION: No Response after %d pings\n", value));
    // These come by calls of their own.
    case UploadEvent::PacketText:
    case UploadEvent::NewProgramAnswered:
    case UploadEvent::EngineDone: return;
  }
}

void UploadLog::OnPacketText(std::uint16_t row, const std::string& text) { Line(row, LogClass::Progress, text + "\n"); }

void UploadLog::OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) {
  Line(row, LogClass::Success,
       "SUCCESS! Response from NEW PROGRAM; Ver = " + VersionText(reply.VersionMajor, reply.VersionMinor) + "\n");
  Line(row, LogClass::Response, ReplySummary(reply, params_.railroadCode, false));
}

void UploadLog::OnUploadFailed(UploadFailure, std::uint16_t row, const std::string& text) {
  Line(row, LogClass::Error, text + "\n");
}

void UploadLog::OnUploadDone() {}

}  // namespace quenderlink
