#pragma once

#include <string>
#include <string_view>

namespace quenderlink {

// Record texts are 8-bit: lists written on Windows hold Latin-1 names, lists
// written here and units may send UTF-8. JSON and workbooks need UTF-8, so a
// text that is not valid UTF-8 is read as Latin-1.
std::string Utf8FromRecordText(std::string_view text);

}  // namespace quenderlink
