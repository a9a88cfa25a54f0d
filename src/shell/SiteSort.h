#pragma once

#include <cstdint>

#include "core/SiteRecord.h"
#include "core/SiteTable.h"

namespace quenderlink {

// The last sort of the site list: a column number as the key and its direction.
struct SortChoice {
  int key = 0;
  bool ascending = false;
};

// Compares SiteName byte by byte over the length of the first name only, so a
// name that begins the other compares equal to it as the first operand and
// greater as the second. Negative, zero or positive.
int CompareSiteNames(const SiteRecord& first, const SiteRecord& second);

// Sorts the records in place by the choice's key (columns 0 and 5..16); any
// other key leaves the table as it is. The railroad decides what column 10 sorts by.
void SortSites(SiteTable& table, SortChoice choice, std::uint8_t railroadCode);

// Whether the records stand in the order the choice sorts them into; a reload
// from a file that was appended to since the sort puts them back in file order.
bool InSortOrder(const SiteTable& table, SortChoice choice, std::uint8_t railroadCode);

// Whether the key column's values go up the sorted list. Texts count as smaller
// when they come later, so a name or host text sort runs Z to A "ascending".
bool KeyValuesRise(SortChoice choice, std::uint8_t railroadCode);

// Columns 0 and 5..16 sort the list when their header is clicked.
bool IsSortableColumn(int column);

// A click on the current key's header flips the direction; a click on another
// sortable header makes it the key in the same direction; other clicks change nothing.
SortChoice HeaderClickSort(SortChoice current, int column);

}  // namespace quenderlink
