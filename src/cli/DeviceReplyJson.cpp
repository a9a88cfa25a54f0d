#include "cli/DeviceReplyJson.h"

#include "cli/JsonText.h"
#include "core/FixedText.h"

namespace quenderlink::cli {

nlohmann::ordered_json DeviceReplyJson(const DeviceReply& r) {
  return nlohmann::ordered_json{
      {"Reserved", r.Reserved},
      {"VersionMajor", r.VersionMajor},
      {"VersionMinor", r.VersionMinor},
      {"SiteId", r.SiteId},
      {"SubdivCode", r.SubdivCode},
      {"Milepost", JsonText(FieldText(r.Milepost))},
      {"TrackId", JsonText(FieldText(r.TrackId))},
      {"SiteName", JsonText(FieldText(r.SiteName))},
      {"SubdivName", JsonText(FieldText(r.SubdivName))},
      {"HostText", JsonText(FieldText(r.HostText))},
      {"VersionBuild", r.VersionBuild},
      {"IpText", JsonText(FieldText(r.IpText))},
      {"ExtraText", JsonText(FieldText(r.ExtraText))},
      {"MaxDatagram", r.MaxDatagram},
      {"ProgramKind", r.ProgramKind},
      {"ReplyPort", r.ReplyPort},
      {"BlockSize", r.BlockSize},
      {"TrackIndex", r.TrackIndex},
      {"ReplyTenths", r.ReplyTenths},
      {"ProductType", r.ProductType},
      {"Powerup", r.Powerup},
      {"RowNumber", r.RowNumber},
      {"LastUploadCode", r.LastUploadCode},
      {"CommVersion", JsonText(FieldText(r.CommVersion))},
      {"ReaderVersion", JsonText(FieldText(r.ReaderVersion))},
      {"SpeechVersion", JsonText(FieldText(r.SpeechVersion))},
  };
}

}  // namespace quenderlink::cli
