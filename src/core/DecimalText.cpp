#include "core/DecimalText.h"

namespace quenderlink {

std::uint32_t LeadingDecimal(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
  const bool negative = at < text.size() && text[at] == '-';
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
  std::uint32_t value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
    value = value * 10 + static_cast<std::uint32_t>(text[at] - '0');
  return negative ? 0u - value : value;
}

}  // namespace quenderlink
