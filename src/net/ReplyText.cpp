#include "net/ReplyText.h"

#include <algorithm>
#include <utility>

#include "core/Lookups.h"

namespace quenderlink {

namespace {

// Above the range of every numeric field of a reply, far below overflow.
constexpr long long kNumberCeiling = 1'000'000'000'000LL;

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<std::size_t> TakeField(std::string_view text, std::size_t position, std::string_view& destination) {
  if (position > text.size()) return std::nullopt;
  const std::size_t end = text.find('|', position);
  if (end == std::string_view::npos) return std::nullopt;
  destination = text.substr(position, end - position);
  return end + 1;
}

long long ReadNumber(std::string_view text, std::size_t position) {
  std::size_t at = position;
  while (at < text.size() && IsBlank(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  long long value = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) value = std::min(value * 10 + (text[at] - '0'), kNumberCeiling);
  return negative ? -value : value;
}

std::string_view TextFrom(std::string_view text, std::size_t position) {
  return text.substr(std::min(position, text.size()));
}

unsigned ClassifyRailroad(std::string_view railroadField) {
  constexpr std::pair<std::string_view, unsigned> kRailroads[] = {
      {"CPR", kRailroadCpr}, {"CSX", kRailroadCsx}, {"NS", kRailroadNs}, {"BHP", kRailroadBhp}, {"IOC", kRailroadIoc}};
  for (const auto& [name, code] : kRailroads)
    if (railroadField.find(name) != std::string_view::npos) return code;
  return 0;
}

}  // namespace quenderlink
