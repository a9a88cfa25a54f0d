#include "core/Lookups.h"

#include <time.h>

#include <array>
#include <cstdio>

#include "core/CprSubdivisions.h"

namespace quenderlink {

namespace {

constexpr std::array<std::string_view, 7> kProductNames{
    "", "RKM", "Cad-1", "Collector", "RKM_U", "Cad/Halvyr", "Cad-2"};

constexpr std::array<std::string_view, 6> kRailroadNames{"_Unkwn", "BHP", "CPR", "CSX", "IOC", "NS"};

constexpr std::array<std::string_view, 13> kTrackNames{
    "Single",    "North Track", "South Track", "East Track", "West Track", "Connaught", "MacDonald",
    "Siding",    "Track 1",     "Track 2",     "Track 3",    "Main 1",     "Main 2"};
constexpr std::array<std::string_view, 13> kTrackCodes{
    "M_", "N_", "S_", "E_", "W_", "CO", "MA", "SI", "T1", "T2", "T3", "M1", "M2"};

constexpr std::array<std::string_view, 13> kNsNames{
    "$NS_Unkwn", "Alabama",    "Central",    "Dearborn", "Georgia",  "Harrisburg", "Illinois",
    "Lake",      "Piedmont",   "Pittsburgh", "Pocahontas", "Virginia", "Off Line"};
constexpr std::array<std::string_view, 13> kNsCodes{
    "??", "AL", "CE", "DE", "GA", "HA", "IL", "LA", "PI", "PT", "PO", "VA", "OF"};

std::string NameWithNumber(std::string_view prefix, unsigned number) {
  return std::string(prefix) + "_" + std::to_string(number);
}

// Index of the first CPR entry with the number, or -1.
int FirstCprIndex(std::uint16_t number) {
  const auto table = CprSubdivisions();
  for (std::size_t index = 0; index < table.size(); ++index)
    if (table[index].number == number) return static_cast<int>(index);
  return -1;
}

}  // namespace

ProductFamily ProductFamilyOf(std::uint8_t productType) {
  switch (productType) {
    case kProductRkm:
    case kProductRkmMicro: return ProductFamily::Rkm;
    case kProductCad1:
    case kProductCad2: return ProductFamily::Cadmarin;
    case kProductCollector: return ProductFamily::Collector;
    default: return ProductFamily::None;
  }
}

std::span<const std::string_view> TrackNames() { return kTrackNames; }
std::span<const std::string_view> TrackCodes() { return kTrackCodes; }
std::span<const std::string_view> NsSubdivisionNames() { return kNsNames; }
std::span<const std::string_view> NsSubdivisionCodes() { return kNsCodes; }

std::string ProductShortName(std::uint8_t productType) {
  if (productType >= kProductRkm && productType <= kProductCad2)
    return std::string(kProductNames[productType]);
  return NameWithNumber("Unkwn", productType);
}

std::string RailroadName(unsigned railroadCode) {
  if (railroadCode >= kRailroadBhp && railroadCode <= kRailroadNs)
    return std::string(kRailroadNames[railroadCode]);
  return "URR";
}

std::string SubdivisionName(std::uint16_t subdivCode, unsigned railroadCode) {
  if (railroadCode == kRailroadNs && subdivCode >= 1 && subdivCode < kNsNames.size())
    return std::string(kNsNames[subdivCode]);
  if (railroadCode == kRailroadCpr) {
    const int index = FirstCprIndex(subdivCode);
    if (index >= 0) return std::string(CprSubdivisions()[static_cast<std::size_t>(index)].name);
  }
  return NameWithNumber(RailroadName(railroadCode), subdivCode);
}

int NsSubdivisionFromText(std::string_view text) {
  for (std::size_t index = 0; index < kNsCodes.size(); ++index)
    if (text.find(kNsCodes[index]) != std::string_view::npos) return static_cast<int>(index);
  return 0;
}

int TrackFromText(std::string& text, unsigned railroadCode) {
  if (railroadCode != kRailroadCpr && text.starts_with("SI")) return 0;
  for (std::size_t index = 0; index < kTrackCodes.size(); ++index) {
    if (text.starts_with(kTrackCodes[index])) {
      text = kTrackNames[index];
      return static_cast<int>(index);
    }
  }
  for (std::size_t index = 0; index < kTrackNames.size(); ++index)
    if (text.find(kTrackNames[index]) != std::string::npos) return static_cast<int>(index);
  return 0;
}

std::string TrackName(unsigned trackIndex) {
  if (trackIndex < kTrackNames.size()) return std::string(kTrackNames[trackIndex]);
  return NameWithNumber("ERR", trackIndex);
}

std::string TimeStampText() {
  const time_t now = ::time(nullptr);
  tm local{};
  ::localtime_r(&now, &local);
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

}  // namespace quenderlink
