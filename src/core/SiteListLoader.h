#pragma once

#include <cstdint>
#include <string>

#include "core/SiteFileStamp.h"
#include "core/SiteTable.h"

namespace quenderlink {

// LoadSiteTable's result when the path is too short to name a file.
inline constexpr int kSiteListNoPath = -1;

// Loads a site list file into the table, sized exactly to the file's records,
// numbered 1..N and with telnet port 0 read as the track 1 default.
// 0 on success; kSiteListNoPath or 200-203 with the table unchanged; 204 with
// the table emptied.
[[nodiscard]] int LoadSiteTable(const std::string& path, SiteTable& table, std::uint16_t telnetPortTrk1);
// The same, and on success the stamp of the file as it was read, for the
// guarded saves of CSiteinfoClass.
[[nodiscard]] int LoadSiteTable(const std::string& path, SiteTable& table, std::uint16_t telnetPortTrk1,
                                SiteFileStamp& loaded);

}  // namespace quenderlink
