#include "journal/AvailabilityRows.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "core/CsvField.h"
#include "journal/JournalTime.h"

namespace quenderlink {
namespace {

constexpr char kNone[] = "-";

std::string TimeText(const std::optional<std::int64_t>& time) { return time ? LocalTimeText(*time) : kNone; }

std::string ShareText(const std::optional<double>& share) {
  if (!share) return kNone;
  char text[16];
  std::snprintf(text, sizeof text, "%.1f", *share * 100.0);
  return text;
}

// A column's value to sort by: a number, a text, or none.
struct SortValue {
  std::optional<double> number;
  std::string text;
  bool none = false;
};

SortValue SortValueOf(const AvailabilityRow& row, int column) {
  const auto time = [](const std::optional<std::int64_t>& value) {
    return value ? SortValue{static_cast<double>(*value), {}, false} : SortValue{{}, {}, true};
  };
  switch (column) {
    case kAvailColSite: return {{}, row.site.name, false};
    case kAvailColHost: return {{}, row.site.key.host, false};
    case kAvailColPort: return {row.site.key.port, {}, false};
    case kAvailColPings: return {static_cast<double>(row.figures.pings), {}, false};
    case kAvailColShare: {
      const std::optional<double> share = row.figures.Share();
      return share ? SortValue{*share, {}, false} : SortValue{{}, {}, true};
    }
    case kAvailColLastAnswer: return time(row.figures.lastAnswer);
    case kAvailColDownSince: return time(row.figures.downSince);
    default: return {{}, {}, true};
  }
}

}  // namespace

std::string_view AvailabilityColumnHeader(int column) {
  static constexpr std::array<std::string_view, kAvailabilityColumnCount> kHeaders{
      "Site", "Host", "Port", "Pings", "Answered %", "Last answer", "Down since"};
  if (column < 0 || column >= kAvailabilityColumnCount) return {};
  return kHeaders[static_cast<std::size_t>(column)];
}

std::string AvailabilityCellText(const AvailabilityRow& row, int column) {
  switch (column) {
    case kAvailColSite: return row.site.name;
    case kAvailColHost: return row.site.key.host;
    case kAvailColPort: return std::to_string(row.site.key.port);
    case kAvailColPings: return std::to_string(row.figures.pings);
    case kAvailColShare: return ShareText(row.figures.Share());
    case kAvailColLastAnswer: return TimeText(row.figures.lastAnswer);
    case kAvailColDownSince: return TimeText(row.figures.downSince);
    default: return {};
  }
}

void SortAvailabilityRows(std::vector<AvailabilityRow>& rows, int column, bool ascending) {
  std::stable_sort(rows.begin(), rows.end(), [column, ascending](const AvailabilityRow& a, const AvailabilityRow& b) {
    const SortValue left = SortValueOf(a, column);
    const SortValue right = SortValueOf(b, column);
    if (left.none || right.none) return !left.none && right.none;
    if (left.number) return ascending ? *left.number < *right.number : *right.number < *left.number;
    return ascending ? left.text < right.text : right.text < left.text;
  });
}

std::string AvailabilityCsv(const std::vector<AvailabilityRow>& rows) {
  std::string csv;
  const auto line = [&csv](auto cell) {
    for (int column = 0; column < kAvailabilityColumnCount; ++column) {
      if (column > 0) csv += ',';
      csv += CsvField(cell(column));
    }
    csv += "\n";
  };
  line([](int column) { return std::string(AvailabilityColumnHeader(column)); });
  for (const AvailabilityRow& row : rows) line([&row](int column) { return AvailabilityCellText(row, column); });
  return csv;
}

std::vector<AvailabilityRow> AvailabilityOfSites(JournalReader& reader, const std::vector<ListedSite>& sites,
                                                 const JournalPeriod& period) {
  std::vector<SiteKey> keys;
  keys.reserve(sites.size());
  for (const ListedSite& site : sites) keys.push_back(site.key);
  std::vector<SiteAvailability> figures = reader.AvailabilityOf(keys, period);
  std::vector<AvailabilityRow> rows;
  rows.reserve(sites.size());
  for (std::size_t site = 0; site < sites.size() && site < figures.size(); ++site)
    rows.push_back({sites[site], figures[site]});
  return rows;
}

}  // namespace quenderlink
