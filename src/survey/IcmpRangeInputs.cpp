#include "survey/IcmpRangeInputs.h"

#include "core/Printf.h"
#include "core/SettingsKeys.h"

namespace quenderlink {

bool SaveIcmpRangeInputs(IniSettingsFile& ini, const AddressRange& range) {
  return ini.WriteStrings(settings::kSectionPingRange, {{std::string(settings::kIcmpFromIpKey), range.FirstAddress()},
                                                        {std::string(settings::kIcmpEndIpKey),
                                                         Printf("%d", range.last)}});
}

}  // namespace quenderlink
