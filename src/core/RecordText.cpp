#include "core/RecordText.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/Utf8Text.h"

namespace quenderlink {
namespace {

// Where Windows-1252 differs from Latin-1: bytes 0x80 to 0x9F.
constexpr std::array<char16_t, 32> kCharactersOf80To9F = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodePointOf(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? kCharactersOf80To9F[byte - 0x80] : byte;
}

std::optional<unsigned char> ByteOf(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<unsigned char>(codePoint);
  const auto found = std::find(kCharactersOf80To9F.begin(), kCharactersOf80To9F.end(), codePoint);
  if (found == kCharactersOf80To9F.end()) return std::nullopt;
  return static_cast<unsigned char>(0x80 + (found - kCharactersOf80To9F.begin()));
}

// True when the rest of a text is the start of a UTF-8 character cut short.
bool IsCutCharacter(std::string_view rest) {
  return rest.size() < Utf8LeadLength(rest[0]) && std::all_of(rest.begin() + 1, rest.end(), IsUtf8Continuation);
}

// How much of a record text is UTF-8 an earlier build wrote: all of it, or all
// but a character cut at the end; none when it has no character of several bytes.
std::optional<std::size_t> Utf8Part(std::string_view text) {
  bool severalBytes = false;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Utf8CharacterLength(text.substr(at));
    if (length == 0) return severalBytes && IsCutCharacter(text.substr(at)) ? std::optional(at) : std::nullopt;
    severalBytes = severalBytes || length > 1;
    at += length;
  }
  return severalBytes ? std::optional(text.size()) : std::nullopt;
}

}  // namespace

std::string Utf8FromWindows1252(std::string_view text) {
  std::string utf8;
  utf8.reserve(text.size());
  for (char c : text) AppendUtf8(utf8, CodePointOf(static_cast<unsigned char>(c)));
  return utf8;
}

Windows1252Text Windows1252FromUtf8(std::string_view utf8) {
  Windows1252Text converted;
  converted.text.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const std::size_t length = Utf8CharacterLength(utf8.substr(at));
    const std::optional<unsigned char> byte =
        length == 0 ? std::nullopt : ByteOf(Utf8CodePoint(utf8.substr(at), length));
    if (!byte && converted.firstReplaced == std::string::npos) converted.firstReplaced = converted.text.size();
    converted.text += byte ? static_cast<char>(*byte) : '?';
    at += length == 0 ? 1 : length;
  }
  return converted;
}

std::string Utf8FromRecordText(std::string_view text) {
  if (const std::optional<std::size_t> utf8 = Utf8Part(text)) return std::string(text.substr(0, *utf8));
  return Utf8FromWindows1252(text);
}

std::string ReplacedCharactersText(std::string_view field) {
  return std::string(field) + " had characters a site list cannot hold; they were stored as \"?\"";
}

}  // namespace quenderlink
