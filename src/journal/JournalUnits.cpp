#include "journal/JournalUnits.h"

#include "core/FixedText.h"
#include "core/RecordText.h"
#include "core/VersionText.h"

namespace quenderlink {

namespace {

// "comm 1.2 / reader 3.4 / speech 5.6" of the versions the unit told.
std::string BoardVersionsText(const DeviceReply& reply) {
  return "comm " + RecordFieldUtf8(reply.CommVersion) + " / reader " + RecordFieldUtf8(reply.ReaderVersion) +
         " / speech " + RecordFieldUtf8(reply.SpeechVersion);
}

}  // namespace

JournalUnit JournalUnitOf(const SiteRecord& record) {
  JournalUnit unit;
  unit.address = std::string(FieldText(record.IpByNumber));
  unit.port = record.DevicePort;
  unit.host = RecordFieldUtf8(record.HostText);
  unit.siteName = RecordFieldUtf8(record.SiteName);
  unit.milepost = RecordFieldUtf8(record.Milepost);
  unit.track = record.TrackIndex;
  unit.subdivision = record.SubdivCode;
  unit.siteId = record.SiteId;
  unit.product = record.ProductType;
  return unit;
}

JournalUnit JournalUnitOfReply(const DeviceReply& reply, const std::string& address, std::uint16_t port) {
  JournalUnit unit;
  unit.address = address;
  unit.port = port;
  unit.host = address;
  unit.siteName = RecordFieldUtf8(reply.SiteName);
  unit.milepost = RecordFieldUtf8(reply.Milepost);
  unit.track = reply.TrackIndex;
  unit.subdivision = reply.SubdivCode;
  unit.siteId = reply.SiteId;
  unit.product = reply.ProductType;
  return unit;
}

JournalResult AnsweredResult(const DeviceReply& reply, int replyMs) {
  JournalResult result;
  result.outcome = ResultOutcome::Answered;
  result.replyMs = replyMs;
  result.versionAfter = VersionText(reply.VersionMajor, reply.VersionMinor);
  result.boards = BoardVersionsText(reply);
  return result;
}

}  // namespace quenderlink
