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

// Packed fields may be misaligned: they are copied, never bound to a reference.
int Number(int value) { return value; }

}  // namespace

nlohmann::ordered_json SiteRecordJson(const SiteRecord& r) {
  return nlohmann::ordered_json{
      {"SiteName", Utf8Text(FieldText(r.SiteName))},
      {"Milepost", Utf8Text(FieldText(r.Milepost))},
      {"SiteId", Number(r.SiteId)},
      {"SubdivCode", Number(r.SubdivCode)},
      {"IpByNumber", Utf8Text(FieldText(r.IpByNumber))},
      {"HostText", Utf8Text(FieldText(r.HostText))},
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
