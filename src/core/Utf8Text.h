#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quenderlink {

// Record texts are 8-bit: lists written on Windows hold Latin-1 names, lists
// written here and units may send UTF-8. JSON and workbooks need UTF-8, so a
// text that is not valid UTF-8 is read as Latin-1.
std::string Utf8FromRecordText(std::string_view text);

// The length of the well-formed UTF-8 character that starts the text (not
// empty); 0 when it is none: a stray byte, a cut sequence, an overlong form, a
// UTF-16 surrogate or a value past U+10FFFF.
std::size_t Utf8CharacterLength(std::string_view text);

// True for a byte that continues a UTF-8 character.
constexpr bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace quenderlink
