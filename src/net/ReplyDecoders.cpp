#include "net/ReplyDecoders.h"

#include <cstdint>
#include <string>

#include "core/FixedText.h"
#include "core/Lookups.h"
#include "core/Printf.h"
#include "core/VersionText.h"
#include "net/ReplyText.h"

namespace quenderlink {

namespace {

constexpr auto npos = std::string_view::npos;

// A tag, its colon and the one character after it come before the first field.
constexpr std::size_t kShortTagFieldsStart = 5;  // "CAD:", "C_2:", "RKM:"
constexpr std::size_t kLongTagFieldsStart = 6;   // "RKMU:", "CHAL:"

struct BoardPlaceholders {
  std::string_view first;
  std::string_view second;
  std::string_view third;
};

constexpr BoardPlaceholders kBoardPlaceholders{"Comm??", "Rdr???", "Spch??"};
constexpr BoardPlaceholders kRkmMicroPlaceholders{"Exec??", "Boot???", "Spch??"};

// The Cadmarin generations and RKM-U share one grammar with a few differences.
struct MainGrammar {
  std::uint8_t productType;
  bool statusOptional;    // a first field starting with 'C' is the railroad itself
  bool readsUnitCodes;    // "|U_n" of CPR units and "!$FF" after the speech field
  BoardPlaceholders placeholders;
};

constexpr MainGrammar kCadmarin1{kProductCad1, true, true, kBoardPlaceholders};
constexpr MainGrammar kCadmarin2{kProductCad2, true, true, kBoardPlaceholders};
constexpr MainGrammar kRkmMicro{kProductRkmMicro, false, false, kRkmMicroPlaceholders};

std::uint8_t ReadyFlag(std::string_view status) { return status.find("RDY") != npos ? 0 : 1; }

// The lookup rewrites a track code to its name; TrackId keeps the unit's own text.
std::uint8_t TrackIndexOf(std::string_view trackId, unsigned railroadCode) {
  std::string track(trackId);
  return static_cast<std::uint8_t>(TrackFromText(track, railroadCode));
}

// "major.minor" or "major.minor-build"; the position after the '|' that follows the '.'.
[[nodiscard]] std::optional<std::size_t> TakeVersion(std::string_view text, std::size_t position, DeviceReply& reply) {
  reply.VersionMajor = NumberAt<std::uint8_t>(text, position);
  const std::size_t dot = text.find('.', position);
  if (dot == npos) return std::nullopt;
  reply.VersionMinor = NumberAt<std::uint8_t>(text, dot + 1);
  const std::size_t end = text.find('|', dot);
  if (end == npos) return std::nullopt;
  const std::size_t dash = text.find('-', dot);
  reply.VersionBuild = dash < end ? NumberAt<std::int8_t>(text, dash + 1) : 0;
  return end + 1;
}

void SetBoardPlaceholders(const BoardPlaceholders& placeholders, DeviceReply& reply) {
  SetFieldText(reply.CommVersion, placeholders.first);
  SetFieldText(reply.ReaderVersion, placeholders.second);
  SetFieldText(reply.SpeechVersion, placeholders.third);
}

// The three board versions after the first "|+|". A version that is not there
// keeps its placeholder.
void TakeBoardVersions(std::string_view text, const BoardPlaceholders& placeholders, bool readsSpeechError,
                       DeviceReply& reply) {
  SetBoardPlaceholders(placeholders, reply);
  const std::size_t marker = text.find("|+|");
  if (marker == npos) return;
  auto next = TakeField(text, marker + 3, reply.CommVersion);
  if (next) next = TakeField(text, *next, reply.ReaderVersion);
  if (next) next = TakeField(text, *next, reply.SpeechVersion);
  if (next && readsSpeechError && TextFrom(text, *next).starts_with("!$FF"))
    SetFieldText(reply.SpeechVersion, "*ERROR*");
}

[[nodiscard]] bool DecodeMainFamily(std::string_view text, std::size_t fieldsStart, const MainGrammar& grammar,
                                    unsigned railroadCode, DeviceReply& reply) {
  std::string_view first;
  auto next = TakeField(text, fieldsStart, first);
  if (!next) return false;
  std::string_view railroad = first;
  if (!grammar.statusOptional || !first.starts_with('C')) {
    reply.Powerup = ReadyFlag(first);
    next = TakeField(text, *next, railroad);
    if (!next) return false;
  }
  const unsigned unitRailroad = ClassifyRailroad(railroad);
  next = TakeVersion(text, *next, reply);
  std::string_view number;
  if (next) next = TakeFields(text, *next, reply.Milepost, reply.TrackId, number);
  if (!next) return false;
  if (unitRailroad == kRailroadCpr) reply.SubdivCode = NumberAt<std::uint16_t>(number, 0);
  if (unitRailroad == kRailroadNs) reply.SiteId = NumberAt<std::uint16_t>(number, 0);
  next = TakeField(text, *next, reply.SiteName);
  if (!next) return false;
  if (unitRailroad == kRailroadNs) {
    std::string_view subdivision;
    const bool named = TakeField(text, *next, subdivision).has_value();
    reply.SubdivCode = static_cast<std::uint16_t>(NsSubdivisionFromText(named ? subdivision : number));
  }
  reply.TrackIndex = TrackIndexOf(FieldText(reply.TrackId), railroadCode);
  reply.ProductType = grammar.productType;
  if (grammar.readsUnitCodes && unitRailroad == kRailroadCpr) {
    const std::size_t marker = text.find("|U_");
    if (marker != npos) reply.LastUploadCode = NumberAt<std::uint8_t>(text, marker + 3);
  }
  TakeBoardVersions(text, grammar.placeholders, grammar.readsUnitCodes, reply);
  return true;
}

[[nodiscard]] bool DecodeRkm(std::string_view text, unsigned railroadCode, DeviceReply& reply) {
  reply.Powerup = ReadyFlag(TextFrom(text, kShortTagFieldsStart));
  std::string_view status;
  std::string_view railroad;
  auto next = TakeFields(text, kShortTagFieldsStart, status, railroad);
  if (next) next = TakeVersion(text, *next, reply);
  if (next) next = TakeFields(text, *next, reply.Milepost, reply.TrackId, reply.SubdivName);
  if (!next) return false;
  reply.SubdivCode = static_cast<std::uint16_t>(NsSubdivisionFromText(FieldText(reply.SubdivName)));
  if (const auto afterName = TakeField(text, *next, reply.SiteName)) {
    std::string_view siteId;
    reply.SiteId = TakeField(text, *afterName, siteId) ? NumberAt<std::uint16_t>(siteId, 0)
                                                        : NumberAt<std::uint16_t>(FieldText(reply.SubdivName), 0);
  } else {
    SetFieldText(reply.SiteName, TextFrom(text, *next));
  }
  reply.TrackIndex = TrackIndexOf(FieldText(reply.TrackId), railroadCode);
  reply.ProductType = kProductRkm;
  SetBoardPlaceholders(kBoardPlaceholders, reply);
  return true;
}

[[nodiscard]] bool DecodeCadHalvyr(std::string_view text, DeviceReply& reply) {
  std::string_view status;
  std::string_view railroad;
  auto next = TakeFields(text, kLongTagFieldsStart, status, railroad);
  if (!next) return false;
  reply.Powerup = ReadyFlag(status);
  next = TakeVersion(text, *next, reply);
  if (next) next = TakeFields(text, *next, reply.Milepost, reply.TrackId, reply.SiteName);
  if (!next) return false;
  reply.ProductType = kProductCadHalvyr;
  TakeBoardVersions(text, kBoardPlaceholders, false, reply);
  return true;
}

// The collector's first field is its number, the second the letters CL.
bool IsCollectorText(std::string_view text) {
  const std::size_t first = text.find('|');
  return first != npos && TextFrom(text, first + 1).starts_with("CL|");
}

void DecodeCollector(std::string_view text, DeviceReply& reply) {
  reply.SiteId = NumberAt<std::uint16_t>(text, 0);
  const std::size_t majorAt = text.find('|') + 4;
  reply.VersionMajor = NumberAt<std::uint8_t>(text, majorAt);
  const std::size_t end = text.find('|', majorAt);
  if (end != npos) reply.VersionMinor = NumberAt<std::uint8_t>(text, end + 1);
  reply.Powerup = 0;
  reply.VersionBuild = 0;
  SetFieldText(reply.Milepost, "N/A");
  SetFieldText(reply.TrackId, "N/A");
  SetFieldText(reply.SiteName, Printf("Collector_%d", reply.SiteId));
  reply.ProductType = kProductCollector;
  SetFieldText(reply.CommVersion, VersionText(reply.VersionMajor, reply.VersionMinor));
  SetFieldText(reply.ReaderVersion, "N/A");
  SetFieldText(reply.SpeechVersion, "N/A");
}

// Older units: "milepost|track|major|minor|site name". Stops, still a success,
// at the first missing '|'.
void DecodeUntagged(std::string_view text, unsigned railroadCode, DeviceReply& reply) {
  reply.Powerup = 0;
  auto next = TakeField(text, 0, reply.Milepost);
  if (next) next = TakeField(text, *next, reply.TrackId);
  if (!next) return;
  reply.TrackIndex = TrackIndexOf(FieldText(reply.TrackId), railroadCode);
  std::string_view major;
  next = TakeField(text, *next, major);
  if (!next) return;
  reply.VersionMajor = NumberAt<std::uint8_t>(major, 0);
  std::string_view minor;
  next = TakeField(text, *next, minor);
  if (!next) return;
  reply.VersionMinor = NumberAt<std::uint8_t>(minor, 0);
  SetFieldText(reply.SiteName, TextFrom(text, *next));
}

}  // namespace

bool DecodeIdentificationText(std::string_view text, unsigned railroadCode, DeviceReply& reply) {
  if (text.starts_with("CAD:")) return DecodeMainFamily(text, kShortTagFieldsStart, kCadmarin1, railroadCode, reply);
  if (text.starts_with("C_2:")) return DecodeMainFamily(text, kShortTagFieldsStart, kCadmarin2, railroadCode, reply);
  if (text.starts_with("RKM:")) return DecodeRkm(text, railroadCode, reply);
  if (text.starts_with("RKMU:")) return DecodeMainFamily(text, kLongTagFieldsStart, kRkmMicro, railroadCode, reply);
  if (text.starts_with("CHAL:")) return DecodeCadHalvyr(text, reply);
  if (IsCollectorText(text)) {
    DecodeCollector(text, reply);
    return true;
  }
  DecodeUntagged(text, railroadCode, reply);
  return true;
}

}  // namespace quenderlink
