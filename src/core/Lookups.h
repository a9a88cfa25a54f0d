#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quenderlink {

// Railroad codes of the settings file.
inline constexpr std::uint8_t kRailroadBhp = 1;
inline constexpr std::uint8_t kRailroadCpr = 2;
inline constexpr std::uint8_t kRailroadCsx = 3;
inline constexpr std::uint8_t kRailroadIoc = 4;
inline constexpr std::uint8_t kRailroadNs = 5;

// Product type codes that units report.
inline constexpr std::uint8_t kProductRkm = 1;
inline constexpr std::uint8_t kProductCad1 = 2;
inline constexpr std::uint8_t kProductCollector = 3;
inline constexpr std::uint8_t kProductRkmMicro = 4;
inline constexpr std::uint8_t kProductCadHalvyr = 5;
inline constexpr std::uint8_t kProductCad2 = 6;

// Units of one family can take the same program file; Cad/Halvyr and unknown
// types belong to none.
enum class ProductFamily { None, Rkm, Cadmarin, Collector };
ProductFamily ProductFamilyOf(std::uint8_t productType);

// The fixed tables, indexed by TrackIndex and by NS SubdivCode; each name has
// its two-letter code at the same index.
std::span<const std::string_view> TrackNames();
std::span<const std::string_view> TrackCodes();
std::span<const std::string_view> NsSubdivisionNames();
std::span<const std::string_view> NsSubdivisionCodes();

// Codes to names and back. The railroad is passed in: the lookups keep no state.

// "RKM", "Cad-1", "Collector", "RKM_U", "Cad/Halvyr", "Cad-2", else "Unkwn_%d".
std::string ProductShortName(std::uint8_t productType);
// "BHP", "CPR", "CSX", "IOC", "NS" for 1..5, "URR" for any other code.
std::string RailroadName(unsigned railroadCode);
// The subdivision's name under the railroad, or "%s_%d" with the railroad's name.
std::string SubdivisionName(std::uint16_t subdivCode, unsigned railroadCode);
// NS subdivision index 0..12 of the first two-letter code found in the text.
int NsSubdivisionFromText(std::string_view text);
// Track index 0..12; a text that starts with a track code is rewritten to that track's name.
int TrackFromText(std::string& text, unsigned railroadCode);
// The track's name, or "ERR_%d" for 13 and above.
std::string TrackName(unsigned trackIndex);
// The current local time as "%02d:%02d:%02d".
std::string TimeStampText();

}  // namespace quenderlink
