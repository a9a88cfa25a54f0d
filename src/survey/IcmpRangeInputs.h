#pragma once

#include "core/IniSettingsFile.h"
#include "survey/AddressRange.h"

namespace quenderlink {

// Keeps the range an ICMP scan starts on for the next time the view opens: its
// first address and its last number; false when the settings file could not be written.
[[nodiscard]] bool SaveIcmpRangeInputs(IniSettingsFile& ini, const AddressRange& range);

}  // namespace quenderlink
