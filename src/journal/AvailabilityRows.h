#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "journal/JournalReader.h"
#include "journal/ListedSite.h"

namespace quenderlink {

// The availability list's columns, in order.
enum AvailabilityColumn : int {
  kAvailColSite,
  kAvailColHost,
  kAvailColPort,
  kAvailColPings,
  kAvailColShare,
  kAvailColLastAnswer,
  kAvailColDownSince,
  kAvailabilityColumnCount
};

struct AvailabilityRow {
  ListedSite site;
  SiteAvailability figures;
};

std::string_view AvailabilityColumnHeader(int column);

// A cell as the list shows it and the export writes it: the share answered in
// per cent with one decimal, times in local time, "-" for a site without pings
// and for a time it has none of.
std::string AvailabilityCellText(const AvailabilityRow& row, int column);

// Sorts by one column, stably; the rows without a value in it go last either way.
void SortAvailabilityRows(std::vector<AvailabilityRow>& rows, int column, bool ascending);

// The list as a comma-separated file: the headers, then a line a row.
std::string AvailabilityCsv(const std::vector<AvailabilityRow>& rows);

// Each site's figures over the period, in the order given, counted in one pass.
std::vector<AvailabilityRow> AvailabilityOfSites(JournalReader& reader, const std::vector<ListedSite>& sites,
                                                 const JournalPeriod& period);

}  // namespace quenderlink
