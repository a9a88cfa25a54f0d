#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenderlink {

// Addresses a.b.c.d .. a.b.c.e that differ only in their last number.
struct AddressRange {
  std::uint8_t a = 0, b = 0, c = 0, d = 0;
  std::uint8_t last = 0;

  // The last number as typed is taken modulo 256, and raised to d when it is 0
  // or smaller than d.
  static AddressRange FromInputs(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d, unsigned typedLast);
  // "A.B.C.D-E"; nothing when the text is not of that form or a number of the
  // start address is above 255.
  [[nodiscard]] static std::optional<AddressRange> Parse(std::string_view text);

  std::string FirstAddress() const;
  // Every address in order, as "%d.%d.%d.%d".
  std::vector<std::string> Addresses() const;
};

using DottedQuad = std::array<std::uint8_t, 4>;

// The four numbers of a dotted address such as "127.77.0.1", as pasted: spaces
// around a number are skipped. Nothing unless the text is a dotted quad
// (IsDottedQuad: its first number is not 0) of four numbers 0..255.
[[nodiscard]] std::optional<DottedQuad> ParseDottedQuad(std::string_view text);

}  // namespace quenderlink
