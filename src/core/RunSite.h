#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/SiteRecord.h"
#include "core/SiteTable.h"

namespace quenderlink {

// What a run copies of one of its sites on the user-interface thread when it
// starts: everything an engine reads of the site. The engine works on these
// copies only, so the table may be sorted, edited or replaced meanwhile.
struct RunSite {
  std::uint16_t row = 0;  // the record's RowNumber, which identifies it in every event
  char host[47] = {};     // HostText
  std::uint16_t port = 0;  // DevicePort
  std::uint8_t productType = 0;
};

// The run's copy of every record that carries `flag` (marked or highlighted), in table order.
std::vector<RunSite> CopyRunSites(const SiteTable& table, std::uint8_t flag);

// A run's copy of its sites, taken on the user-interface thread when it
// starts, and the way back from a result to its site's record there. A site
// is found by identity: the record with its row number must still have the
// host text and port the run copied; a record that does not (the site was
// changed, or the list replaced) takes no result. Positions are remembered,
// so a run over 65,000 sites does not search the table for every result; a
// sort costs one pass over the table.
class RunSiteCopy {
 public:
  // Copies every record of the table that carries `flag`.
  void Take(SiteTable& table, std::uint8_t flag);
  // Copies the first `count` records of the table (all when it has fewer).
  void TakeFirst(SiteTable& table, std::size_t count);
  const std::vector<RunSite>& sites() const { return sites_; }
  // The record of the run's site with that row number while it is still that
  // site; none otherwise, and the result is counted as unplaced.
  [[nodiscard]] SiteRecord* RecordOf(std::uint16_t row);
  // Results that found no record to go into.
  std::size_t unplaced() const { return unplaced_; }

 private:
  void Clear(SiteTable& table);
  void Add(std::size_t position);
  bool HoldsRow(std::size_t position, std::uint16_t row) const;
  void Relearn();

  SiteTable* table_ = nullptr;
  std::vector<RunSite> sites_;
  std::vector<std::size_t> positions_;  // each site's place in the table, as last seen
  std::unordered_map<std::uint16_t, std::size_t> indexOfRow_;
  std::size_t unplaced_ = 0;
};

// What the end of a run says when some of its results found no record: "" when all did.
std::string UnplacedResultsText(std::size_t unplaced);

}  // namespace quenderlink
