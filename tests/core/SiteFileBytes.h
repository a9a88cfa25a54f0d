#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quenderlink::testing {

// Site list file bytes laid out by hand at their documented offsets, so the
// tests do not lean on the structs they check.

inline constexpr std::string_view kSignatureText = "Brindlemar Data File:: Quenderlink Site Recs";

inline void PutU16(std::string& bytes, std::size_t offset, std::uint16_t value) {
  bytes[offset] = static_cast<char>(value & 0xFF);
  bytes[offset + 1] = static_cast<char>(value >> 8);
}

// A header whose text at byte 6 is the given one; the date bytes are arbitrary.
inline std::string HeaderBytes(std::string_view textAtSix = kSignatureText) {
  std::string bytes = "\x07\x03\x1A\x0E\x05\x09" + std::string(textAtSix);
  bytes.resize(60, '\0');
  return bytes;
}

inline std::string RecordBytes(std::string_view siteName, std::uint16_t rowNumber, std::uint16_t telnetPort) {
  std::string bytes(siteName);
  bytes.resize(143, '\0');
  PutU16(bytes, 112, rowNumber);
  PutU16(bytes, 114, telnetPort);
  return bytes;
}

}  // namespace quenderlink::testing
