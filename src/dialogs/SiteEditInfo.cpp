#include "dialogs/SiteEditInfo.h"

#include "core/Lookups.h"
#include "core/Printf.h"
#include "core/RecordText.h"
#include "core/ReplyTimeText.h"
#include "core/VersionText.h"

namespace quenderlink {
namespace {

std::string ProductLines(const DeviceReply& reply) {
  const std::string comm = RecordFieldUtf8(reply.CommVersion);
  const std::string reader = RecordFieldUtf8(reply.ReaderVersion);
  const std::string speech = RecordFieldUtf8(reply.SpeechVersion);
  const std::string qzBoards = Printf("\r\nQZ Comm: %s", comm.c_str()) + Printf("\r\nQZ Rdr : %s", reader.c_str()) +
                               Printf("\r\nQZ Spch: %s", speech.c_str());
  switch (reply.ProductType) {
    case kProductCad1:
      return Printf("\r\nProduct: %s", "Cadmarin-1") + qzBoards;
    case kProductCad2:
      return Printf("\r\nProduct: %s (last upload code=%d)", "Cadmarin-2", reply.LastUploadCode) + qzBoards;
    case kProductCadHalvyr:
      return Printf("\r\nProduct: %s", "Cadmarin-Halvyr") + Printf("\r\nHALVYR Comm: %s", comm.c_str()) +
             Printf("\r\nHALVYR Rdr : %s", reader.c_str()) + Printf("\r\nHALVYR Spch: %s", speech.c_str());
    case kProductRkmMicro:
      return Printf("\r\nProduct: %s", "RKM Micro") + Printf("\r\n\r\nMicro Executive: %s", comm.c_str()) +
             Printf("\r\nMicroHBD Speech: %s", speech.c_str()) + Printf("\r\nMicroHBD Boot  : %s", reader.c_str());
    case kProductCollector:
      return Printf("\r\n\r\nZenthiCollector: %s", comm.c_str());
    default:
      return {};
  }
}

}  // namespace

std::string InitialSiteEditInfo(std::uint8_t railroadCode) {
  std::string info =
      "The following information will be collected from field:\r\n\r\nSubdivision, Milepost, and Track number.";
  if (railroadCode == kRailroadNs) info += "\r\nSiteID and Sitename";
  return info;
}

std::string PingSuccessInfo(const DeviceReply& reply) {
  const std::string product = ProductShortName(reply.ProductType);
  const std::string version = VersionText(reply.VersionMajor, reply.VersionMinor, reply.VersionBuild, true);
  std::string info = Printf("SUCCESS (%s seconds) %s\r\nIP Address: %s\r\nMilepost  : %s\r\nVersion   : %s %s",
                            TenthsText(reply.ReplyTenths).c_str(), reply.Powerup ? "Powerup" : "Ready",
                            RecordFieldUtf8(reply.IpText).c_str(), RecordFieldUtf8(reply.Milepost).c_str(),
                            product.c_str(), version.c_str());
  info += Printf("\r\nSite Name : %s\r\nTrack-ID  : %s", RecordFieldUtf8(reply.SiteName).c_str(),
                 RecordFieldUtf8(reply.TrackId).c_str());
  return info + ProductLines(reply);
}

}  // namespace quenderlink
