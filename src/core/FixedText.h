#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace quenderlink {

// Texts in records live in fixed char fields, NUL-terminated inside the field.

// The text of a field: up to its first NUL, never past the field's end.
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  const void* nul = std::memchr(field, '\0', N);
  return {field, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : N};
}

// Stores a text cut to the field width less one, the rest of the field zeroed.
template <std::size_t N>
void SetFieldText(char (&field)[N], std::string_view text) {
  const std::size_t length = std::min(text.size(), N - 1);
  if (length != 0) std::memcpy(field, text.data(), length);  // an empty view may have no data
  std::memset(field + length, 0, N - length);
}

}  // namespace quenderlink
