#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quenderlink {

// The length of the well-formed UTF-8 character that starts the text (not
// empty); 0 when it is none: a stray byte, a cut sequence, an overlong form, a
// UTF-16 surrogate or a value past U+10FFFF.
std::size_t Utf8CharacterLength(std::string_view text);

// The length of the UTF-8 character a lead byte starts; 0 for a byte that starts none.
std::size_t Utf8LeadLength(char lead);

// True for a byte that continues a UTF-8 character.
constexpr bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// True when the whole text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// The code point of a well-formed character of the given length.
char32_t Utf8CodePoint(std::string_view character, std::size_t length);

// Adds a code point as UTF-8.
void AppendUtf8(std::string& text, char32_t codePoint);

// The first `count` characters of a UTF-8 text (all of a shorter one), never
// cut inside a character.
std::string_view FirstCharacters(std::string_view text, std::size_t count);

// A UTF-8 text padded with spaces to `width` characters, as "%-*s" pads a text
// of single bytes; a longer text stays whole.
std::string PaddedToWidth(std::string_view text, std::size_t width);

}  // namespace quenderlink
