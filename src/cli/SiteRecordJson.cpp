#include "cli/SiteRecordJson.h"

#include "cli/JsonText.h"
#include "core/FixedText.h"

namespace quenderlink::cli {

nlohmann::ordered_json SiteRecordJson(const SiteRecord& r) {
  return nlohmann::ordered_json{
      {"SiteName", JsonText(FieldText(r.SiteName))},
      {"Milepost", JsonText(FieldText(r.Milepost))},
      {"SiteId", Number(r.SiteId)},
      {"SubdivCode", Number(r.SubdivCode)},
      {"IpByNumber", JsonText(FieldText(r.IpByNumber))},
      {"HostText", JsonText(FieldText(r.HostText))},
      {"HiddenBuild", Number(r.HiddenBuild)},
      {"DevicePort", Number(r.DevicePort)},
      {"TrackIndex", Number(r.TrackIndex)},
      {"VersionMajor", Number(r.VersionMajor)},
      {"VersionMinor", Number(r.VersionMinor)},
      {"LastPing", Number(r.LastPing)},
      {"SiteFlags", Number(r.SiteFlags)},
      {"ProductType", Number(r.ProductType)},
      {"RowNumber", Number(r.RowNumber)},
      {"TelnetPort", Number(r.TelnetPort)},
      {"CommVersion", JsonText(FieldText(r.CommVersion))},
      {"ReaderVersion", JsonText(FieldText(r.ReaderVersion))},
      {"SpeechVersion", JsonText(FieldText(r.SpeechVersion))},
  };
}

nlohmann::ordered_json SiteTableJson(const SiteTable& table) {
  nlohmann::ordered_json array = nlohmann::ordered_json::array();
  for (const SiteRecord& record : table.records()) array.push_back(SiteRecordJson(record));
  return array;
}

}  // namespace quenderlink::cli
