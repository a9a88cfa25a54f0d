#include "core/Utf8Text.h"

namespace quenderlink {

std::size_t Utf8LeadLength(char c) {
  const auto lead = static_cast<unsigned char>(c);
  return lead < 0x80                    ? 1
         : lead >= 0xC2 && lead <= 0xDF ? 2
         : lead >= 0xE0 && lead <= 0xEF ? 3
         : lead >= 0xF0 && lead <= 0xF4 ? 4
                                        : 0;
}

std::size_t Utf8CharacterLength(std::string_view text) {
  const std::size_t length = Utf8LeadLength(text[0]);
  if (length == 1) return 1;
  if (length == 0 || text.size() < length) return 0;
  const auto lead = static_cast<unsigned char>(text[0]);
  for (std::size_t i = 1; i < length; ++i)
    if (!IsUtf8Continuation(text[i])) return 0;
  const auto second = static_cast<unsigned char>(text[1]);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
      (lead == 0xF4 && second > 0x8F))
    return 0;
  return length;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Utf8CharacterLength(text.substr(at));
    if (length == 0) return false;
    at += length;
  }
  return true;
}

char32_t Utf8CodePoint(std::string_view character, std::size_t length) {
  constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t codePoint = static_cast<unsigned char>(character[0]) & kLeadBits[length];
  for (std::size_t i = 1; i < length; ++i)
    codePoint = codePoint << 6 | (static_cast<unsigned char>(character[i]) & 0x3F);
  return codePoint;
}

void AppendUtf8(std::string& text, char32_t codePoint) {
  if (codePoint < 0x80) {
    text += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    text += static_cast<char>(0xC0 | codePoint >> 6);
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    text += static_cast<char>(0xE0 | codePoint >> 12);
    text += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | codePoint >> 18);
    text += static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
    text += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

std::string_view FirstCharacters(std::string_view text, std::size_t count) {
  std::size_t end = 0;
  for (std::size_t characters = 0; end < text.size(); ++end) {
    if (IsUtf8Continuation(text[end])) continue;
    if (characters++ == count) break;
  }
  return text.substr(0, end);
}

std::string PaddedToWidth(std::string_view text, std::size_t width) {
  std::size_t characters = 0;
  for (char c : text) characters += IsUtf8Continuation(c) ? 0 : 1;
  std::string padded(text);
  if (characters < width) padded.append(width - characters, ' ');
  return padded;
}

}  // namespace quenderlink
