#include "cli/RowList.h"

#include <charconv>

namespace quenderlink::cli {
namespace {

[[nodiscard]] std::optional<std::uint16_t> RowNumber(std::string_view text) {
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

Result MarkRows(SiteTable& table, const std::optional<std::set<std::uint16_t>>& rows, std::uint8_t flags) {
  if (rows && *rows->rbegin() > table.size())
    return Failure{"row " + std::to_string(*rows->rbegin()) + " is not in the list (rows 1 to " +
                   std::to_string(table.size()) + ")"};
  table.ClearFlags();
  // RowNumber is a packed field: copied out, never bound to a reference.
  for (SiteRecord& site : table.records())
    if (!rows || rows->count(static_cast<std::uint16_t>(site.RowNumber))) site.SiteFlags = flags;
  return {};
}

}  // namespace quenderlink::cli
