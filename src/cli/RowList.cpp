#include "cli/RowList.h"

#include <charconv>

namespace quenderlink::cli {
namespace {

std::optional<std::uint16_t> RowNumber(std::string_view text) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > 65534) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

}  // namespace

std::optional<std::set<std::uint16_t>> ParseRowList(std::string_view text) {
  std::set<std::uint16_t> rows;
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    const std::size_t dash = item.find('-');
    const auto first = RowNumber(item.substr(0, dash));
    const auto last = dash == std::string_view::npos ? first : RowNumber(item.substr(dash + 1));
    if (!first || !last || *last < *first) return std::nullopt;
    for (unsigned row = *first; row <= *last; ++row) rows.insert(static_cast<std::uint16_t>(row));
  }
  if (rows.empty()) return std::nullopt;
  return rows;
}

}  // namespace quenderlink::cli
