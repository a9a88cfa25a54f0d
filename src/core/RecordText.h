#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/FixedText.h"

namespace quenderlink {

// Texts in site records and unit replies are 8-bit Windows-1252, as the units
// send them and as the site lists written on Windows hold them; everything the
// program shows or writes besides (windows, logs, JSON, exports) is UTF-8. The
// functions here are the one way between the two.

// Windows-1252 as UTF-8. Its five unassigned bytes (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) read as the control characters of the same value, as Windows reads them.
std::string Utf8FromWindows1252(std::string_view text);

// A UTF-8 text in Windows-1252. A character it has no form for, and a byte that
// is not UTF-8, becomes "?"; `firstReplaced` is where the first such "?" stands.
struct Windows1252Text {
  std::string text;
  std::size_t firstReplaced = std::string::npos;
};
Windows1252Text Windows1252FromUtf8(std::string_view utf8);

// A record text as UTF-8. Earlier builds stored imported and typed names as
// UTF-8, cut at the field's end even inside a character: a text that reads as
// UTF-8 with a character of more than one byte is taken as UTF-8 (a character
// cut at its end left out), so those lists keep their names. Any other text is
// Windows-1252.
std::string Utf8FromRecordText(std::string_view text);

// A record field's text as UTF-8.
template <std::size_t N>
std::string RecordFieldUtf8(const char (&field)[N]) {
  return Utf8FromRecordText(FieldText(field));
}

// Stores a UTF-8 text in a record field as Windows-1252, cut to the field
// (a byte a character, so never inside one). True when a character that is kept
// became "?".
template <std::size_t N>
bool SetRecordText(char (&field)[N], std::string_view utf8) {
  const Windows1252Text converted = Windows1252FromUtf8(utf8);
  SetFieldText(field, converted.text);
  return converted.firstReplaced < N - 1;
}

// What the user is told once of a field whose text a site list could not hold
// whole: `field` names it as the user sees it.
std::string ReplacedCharactersText(std::string_view field);

}  // namespace quenderlink
