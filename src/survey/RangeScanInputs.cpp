#include "survey/RangeScanInputs.h"

#include "core/SettingsKeys.h"

namespace quenderlink {

RangeScanInputs LoadRangeScanInputs(const IniSettingsFile& ini, std::uint32_t defaultPort) {
  constexpr std::string_view section = settings::kSectionPingRange;
  return {.fromAddress = ini.ReadString(section, settings::kPingRangeFromIpKey, ""),
          .lastNumber = ini.ReadString(section, settings::kPingRangeEndIpKey, ""),
          .port = ini.ReadInt(section, settings::kPingRangePortNumKey, defaultPort)};
}

bool SaveRangeScanInputs(IniSettingsFile& ini, const AddressRange& range, std::uint16_t port) {
  constexpr std::string_view section = settings::kSectionPingRange;
  return ini.WriteString(section, settings::kPingRangeFromIpKey, range.FirstAddress()) &&
         ini.WriteInt(section, settings::kPingRangeEndIpKey, range.last) &&
         ini.WriteInt(section, settings::kPingRangePortNumKey, port);
}

}  // namespace quenderlink
