#pragma once

#include <string>
#include <string_view>

namespace quenderlink::cli {

// Record texts are 8-bit: lists written on Windows hold Latin-1 names, lists
// written here and units may send UTF-8. JSON needs UTF-8, so a text that is
// not valid UTF-8 is read as Latin-1.
std::string JsonText(std::string_view text);

// Packed fields may be misaligned: they are copied, never bound to a reference.
inline int Number(int value) { return value; }

}  // namespace quenderlink::cli
