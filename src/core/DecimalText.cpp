#include "core/DecimalText.h"

#include <charconv>
#include <cmath>

namespace quenderlink {
namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::uint32_t LeadingDecimal(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && IsSpace(text[at])) ++at;
  const bool negative = at < text.size() && text[at] == '-';
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
  std::uint32_t value = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at)
    value = value * 10 + static_cast<std::uint32_t>(text[at] - '0');
  return negative ? 0u - value : value;
}

double LeadingDecimalNumber(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && IsSpace(text[at])) ++at;
  const bool negative = at < text.size() && text[at] == '-';
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
  // Only digits may start the number: from_chars would also take "inf" and "nan".
  const bool digitFirst = at < text.size() && IsDigit(text[at]);
  const bool pointFirst = at + 1 < text.size() && text[at] == '.' && IsDigit(text[at + 1]);
  if (!digitFirst && !pointFirst) return 0;
  double value = 0;
  const std::from_chars_result parsed = std::from_chars(text.data() + at, text.data() + text.size(), value);
  if (parsed.ec != std::errc() || !std::isfinite(value)) return 0;
  return negative ? 0.0 - value : value;  // "-0" reads as 0, not as a negative zero
}

}  // namespace quenderlink
