#include "shell/SiteSort.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "core/DecimalText.h"
#include "core/FixedText.h"
#include "core/Lookups.h"
#include "shell/SiteListColumns.h"

namespace quenderlink {
namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

int Compare(std::uint64_t first, std::uint64_t second) { return (first > second) - (first < second); }

// The four dotted numbers of an address, the first in the top byte, each kept in
// 8 bits; a text without a dot counts as 0.0.0.0.
std::uint32_t AddressNumber(std::string_view text) {
  if (text.find('.') == std::string_view::npos) return 0;
  std::uint32_t number = 0;
  for (int part = 0; part < 4; ++part) {
    number = number << 8 | (LeadingDecimal(text) & 0xFFu);
    const std::size_t dot = text.find('.');
    text = dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
  }
  return number;
}

// What one key sorts by: a number worked out once per record, or (when `number`
// is null) the host text; and whether equal keys fall back on the name.
struct SortRule {
  std::uint64_t (*number)(const SiteRecord&);
  bool nameWhenAscending;
  bool nameWhenDescending;
};

std::optional<SortRule> RuleFor(int key, std::uint8_t railroadCode) {
  using Record = const SiteRecord&;
  switch (key) {
    case kColCnt: return SortRule{[](Record r) -> std::uint64_t { return r.RowNumber; }, false, false};
    case kColSubDiv: return SortRule{[](Record r) -> std::uint64_t { return r.SubdivCode; }, true, true};
    case kColSiteId: return SortRule{[](Record r) -> std::uint64_t { return r.SiteId; }, true, false};
    case kColSiteName: return SortRule{[](Record) -> std::uint64_t { return 0; }, true, true};
    case kColMilepost:
      return SortRule{[](Record r) -> std::uint64_t {
                        const auto milepost = static_cast<std::uint16_t>(LeadingDecimal(FieldText(r.Milepost)));
                        return std::uint64_t{milepost} << 8 | r.TrackIndex;
                      },
                      false, false};
    case kColTrack: return SortRule{[](Record r) -> std::uint64_t { return r.TrackIndex; }, true, true};
    case kColDnsIp:
      if (railroadCode == kRailroadCpr) return SortRule{nullptr, false, false};
      [[fallthrough]];
    case kColIpByNumber:
      return SortRule{[](Record r) -> std::uint64_t {
                        return std::uint64_t{AddressNumber(FieldText(r.IpByNumber))} << 16 | r.DevicePort;
                      },
                      true, false};
    case kColPort: return SortRule{[](Record r) -> std::uint64_t { return r.DevicePort; }, false, true};
    case kColTelnet: return SortRule{[](Record r) -> std::uint64_t { return r.TelnetPort; }, true, true};
    case kColProduct: return SortRule{[](Record r) -> std::uint64_t { return r.ProductType; }, true, true};
    case kColVersion:
      return SortRule{[](Record r) -> std::uint64_t { return r.VersionMajor * 100u + r.VersionMinor; }, true, true};
    case kColLastPing: return SortRule{[](Record r) -> std::uint64_t { return r.LastPing; }, true, true};
    default: return std::nullopt;
  }
}

struct SortEntry {
  std::uint64_t number;
  const SiteRecord* record;
};

SortEntry EntryOf(const SortRule& rule, const SiteRecord& record) {
  return {rule.number ? rule.number(record) : 0, &record};
}

// "a before b" for one key and direction. Texts (names, host texts) count as
// smaller when they come later in byte order, so that ascending puts Z before A
// and descending A before Z while numbers go smallest or largest first.
class EntryOrder {
 public:
  EntryOrder(const SortRule& rule, bool ascending)
      : byHostText_(rule.number == nullptr),
        nameTieBreak_(ascending ? rule.nameWhenAscending : rule.nameWhenDescending),
        ascending_(ascending) {}

  bool operator()(const SortEntry& a, const SortEntry& b) const {
    int order = byHostText_ ? -Sign(FieldText(a.record->HostText).compare(FieldText(b.record->HostText)))
                            : Compare(a.number, b.number);
    if (order == 0 && nameTieBreak_) order = -CompareSiteNames(*a.record, *b.record);
    return ascending_ ? order < 0 : order > 0;
  }

 private:
  bool byHostText_;
  bool nameTieBreak_;
  bool ascending_;
};

}  // namespace

int CompareSiteNames(const SiteRecord& first, const SiteRecord& second) {
  const std::size_t length = FieldText(first.SiteName).size();
  return Sign(std::memcmp(first.SiteName, second.SiteName, length));
}

void SortSites(SiteTable& table, SortChoice choice, std::uint8_t railroadCode) {
  const std::optional<SortRule> rule = RuleFor(choice.key, railroadCode);
  if (!rule) return;

  std::vector<SortEntry> entries;
  entries.reserve(table.size());
  for (const SiteRecord& record : table.records()) entries.push_back(EntryOf(*rule, record));

  // A name that begins two others ties with both while they need not tie with
  // each other, so the order is not a strict weak one and std::sort could run
  // past the range; a merge sort stays in bounds with any comparison.
  std::stable_sort(entries.begin(), entries.end(), EntryOrder(*rule, choice.ascending));

  std::vector<SiteRecord> sorted;
  sorted.reserve(entries.size());
  for (const SortEntry& entry : entries) sorted.push_back(*entry.record);
  // In place: a sort reorders the records of this load, it loads nothing, so
  // a run that started on the list still saves its results into it.
  std::copy(sorted.begin(), sorted.end(), table.records().begin());
}

bool InSortOrder(const SiteTable& table, SortChoice choice, std::uint8_t railroadCode) {
  const std::optional<SortRule> rule = RuleFor(choice.key, railroadCode);
  if (!rule) return false;
  const EntryOrder before(*rule, choice.ascending);
  const auto records = table.records();
  for (std::size_t at = 1; at < records.size(); ++at)
    if (before(EntryOf(*rule, records[at]), EntryOf(*rule, records[at - 1]))) return false;
  return true;
}

bool KeyValuesRise(SortChoice choice, std::uint8_t railroadCode) {
  const bool byText = choice.key == kColSiteName || (choice.key == kColDnsIp && railroadCode == kRailroadCpr);
  return choice.ascending != byText;
}

bool IsSortableColumn(int column) { return column == kColCnt || (column >= kColSubDiv && column <= kColLastPing); }

SortChoice HeaderClickSort(SortChoice current, int column) {
  if (!IsSortableColumn(column)) return current;
  return {column, column == current.key ? !current.ascending : current.ascending};
}

}  // namespace quenderlink
