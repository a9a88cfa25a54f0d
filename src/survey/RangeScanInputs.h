#pragma once

#include <cstdint>
#include <string>

#include "core/IniSettingsFile.h"
#include "survey/AddressRange.h"

namespace quenderlink {

// What the range view's boxes start with: the last scan's first address, its
// last number and its port, as the settings file keeps them.
struct RangeScanInputs {
  std::string fromAddress;
  std::string lastNumber;
  std::uint32_t port = 0;
};

RangeScanInputs LoadRangeScanInputs(const IniSettingsFile& ini, std::uint32_t defaultPort);

// Keeps the range and port a scan starts on for the next time the view opens;
// false when the settings file could not be written.
[[nodiscard]] bool SaveRangeScanInputs(IniSettingsFile& ini, const AddressRange& range, std::uint16_t port);

}  // namespace quenderlink
