#pragma once

#include <string_view>

#include "net/DeviceReply.h"

namespace quenderlink {

// Decodes the identification text of a reply (the bytes from the end of the
// header up to its NUL) with the decoder its tag chooses. `reply` arrives
// cleared with Powerup 1; false when a tagged decoder misses a required '|'
// or the version's '.'. The railroad is the program's own.
[[nodiscard]] bool DecodeIdentificationText(std::string_view text, unsigned railroadCode, DeviceReply& reply);

}  // namespace quenderlink
