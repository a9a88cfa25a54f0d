#pragma once

#include <string>
#include <string_view>

namespace quenderlink::cli {

// A record text as JSON takes it: Utf8FromRecordText.
std::string JsonText(std::string_view text);

// Packed fields may be misaligned: they are copied, never bound to a reference.
inline int Number(int value) { return value; }

}  // namespace quenderlink::cli
