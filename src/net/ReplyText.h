#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "core/FixedText.h"

namespace quenderlink {

// Helpers the reply decoders share. A reply's identification text is a
// string_view that already ends where the received bytes, the length field or
// the first NUL end it; positions are indexes into it and may equal its size.

// The field starting at `position` runs up to the next '|'. Gives the position
// just after that '|' and the field in `destination`; without a following '|'
// nothing is copied and the result is empty.
[[nodiscard]] std::optional<std::size_t> TakeField(std::string_view text, std::size_t position,
                                                   std::string_view& destination);

// The same into a fixed field, cut to its width less one.
template <std::size_t N>
[[nodiscard]] std::optional<std::size_t> TakeField(std::string_view text, std::size_t position,
                                                   char (&destination)[N]) {
  std::string_view field;
  const auto next = TakeField(text, position, field);
  if (next) SetFieldText(destination, field);
  return next;
}

// The decimal number at `position`: leading blanks and a sign are allowed, it
// ends at the first non-digit, and it reads 0 when there is no digit. Digits
// beyond what any field holds only saturate, so 30 digits are harmless.
long long ReadNumber(std::string_view text, std::size_t position);

// ReadNumber clamped to the range of the field it is stored in.
template <typename Field>
Field NumberAt(std::string_view text, std::size_t position) {
  const long long value = ReadNumber(text, position);
  return static_cast<Field>(std::clamp<long long>(value, std::numeric_limits<Field>::min(),
                                                  std::numeric_limits<Field>::max()));
}

// Takes consecutive fields; empty as soon as one lacks its '|'.
template <typename... Destinations>
[[nodiscard]] std::optional<std::size_t> TakeFields(std::string_view text, std::size_t position,
                                                    Destinations&... destinations) {
  std::optional<std::size_t> next = position;
  ((next = next ? TakeField(text, *next, destinations) : std::nullopt), ...);
  return next;
}

// The text from `position` on; empty when `position` is at or past the end.
std::string_view TextFrom(std::string_view text, std::size_t position);

// Railroad code of a reply's railroad field: "CPR" 2, else "CSX" 3, "NS" 5,
// "BHP" 1, "IOC" 4, else 0.
unsigned ClassifyRailroad(std::string_view railroadField);

}  // namespace quenderlink
