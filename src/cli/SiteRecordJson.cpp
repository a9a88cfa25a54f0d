#include "cli/SiteRecordJson.h"

#include <string>
#include <string_view>

#include "core/FixedText.h"

namespace quenderlink::cli {
namespace {

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80           ? 1
                               : (lead >> 5) == 0x06 ? 2
                               : (lead >> 4) == 0x0E ? 3
                               : (lead >> 3) == 0x1E ? 4
                                                     : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

// Record texts are 8-bit: lists written on Windows hold Latin-1 names, lists
// written here UTF-8 ones. JSON needs UTF-8, so anything else is read as Latin-1.
std::string Utf8Text(std::string_view text) {
  if (IsValidUtf8(text)) return std::string(text);
  std::string converted;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      converted += c;
    } else {
      converted += static_cast<char>(0xC0 | (byte >> 6));
      converted += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return converted;
}

}  // namespace

nlohmann::ordered_json SiteRecordJson(const SiteRecord& r) {
  return nlohmann::ordered_json{
      {"SiteName", Utf8Text(FieldText(r.SiteName))},
      {"Milepost", Utf8Text(FieldText(r.Milepost))},
      {"SiteId", r.SiteId},
      {"SubdivCode", r.SubdivCode},
      {"IpByNumber", Utf8Text(FieldText(r.IpByNumber))},
      {"HostText", Utf8Text(FieldText(r.HostText))},
      {"HiddenBuild", r.HiddenBuild},
      {"DevicePort", r.DevicePort},
      {"TrackIndex", r.TrackIndex},
      {"VersionMajor", r.VersionMajor},
      {"VersionMinor", r.VersionMinor},
      {"LastPing", r.LastPing},
      {"SiteFlags", r.SiteFlags},
      {"ProductType", r.ProductType},
      {"RowNumber", r.RowNumber},
      {"TelnetPort", r.TelnetPort},
      {"CommVersion", Utf8Text(FieldText(r.CommVersion))},
      {"ReaderVersion", Utf8Text(FieldText(r.ReaderVersion))},
      {"SpeechVersion", Utf8Text(FieldText(r.SpeechVersion))},
  };
}

nlohmann::ordered_json SiteTableJson(const SiteTable& table) {
  nlohmann::ordered_json array = nlohmann::ordered_json::array();
  for (const SiteRecord& record : table.records()) array.push_back(SiteRecordJson(record));
  return array;
}

}  // namespace quenderlink::cli
