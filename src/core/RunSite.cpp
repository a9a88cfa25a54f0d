#include "core/RunSite.h"

#include "core/FixedText.h"
#include "core/Printf.h"

namespace quenderlink {
namespace {

bool SameSite(const SiteRecord& record, std::uint16_t row, std::string_view host, std::uint16_t port) {
  return record.RowNumber == row && record.DevicePort == port && FieldText(record.HostText) == host;
}

}  // namespace

std::vector<RunSite> CopyRunSites(const SiteTable& table, std::uint8_t flag) {
  std::vector<RunSite> sites;
  for (const SiteRecord& record : table.records()) {
    if ((record.SiteFlags & flag) == 0) continue;
    RunSite& site = sites.emplace_back();
    site.row = record.RowNumber;
    SetFieldText(site.host, FieldText(record.HostText));
    site.port = record.DevicePort;
    site.productType = record.ProductType;
  }
  return sites;
}

void SiteLocator::RememberFlagged(const SiteTable& table, std::uint8_t flag) {
  positions_.clear();
  for (std::size_t position = 0; position < table.size(); ++position)
    if (table[position].SiteFlags & flag) positions_[table[position].RowNumber] = position;
}

SiteRecord* SiteLocator::Find(SiteTable& table, std::uint16_t row, std::string_view host, std::uint16_t port) {
  auto found = positions_.find(row);
  if (found == positions_.end()) return nullptr;
  if (found->second >= table.size() || table[found->second].RowNumber != row) {
    // The table was reordered since: every remembered site is looked up once.
    Relearn(table);
    found = positions_.find(row);
    if (found == positions_.end()) return nullptr;
  }
  SiteRecord& record = table[found->second];
  return SameSite(record, row, host, port) ? &record : nullptr;
}

// Sites no longer in the table are forgotten, so they cost no further pass.
void SiteLocator::Relearn(const SiteTable& table) {
  std::unordered_map<std::uint16_t, std::size_t> now;
  now.reserve(positions_.size());
  for (std::size_t position = 0; position < table.size(); ++position) {
    const std::uint16_t row = table[position].RowNumber;
    if (positions_.contains(row)) now.emplace(row, position);
  }
  positions_ = std::move(now);
}

void RunSiteCopy::Take(SiteTable& table, std::uint8_t flag) {
  table_ = &table;
  sites_ = CopyRunSites(table, flag);
  indexOfRow_.clear();
  indexOfRow_.reserve(sites_.size());
  for (std::size_t i = 0; i < sites_.size(); ++i) indexOfRow_.emplace(sites_[i].row, i);
  locator_.RememberFlagged(table, flag);
  unplaced_ = 0;
}

SiteRecord* RunSiteCopy::RecordOf(std::uint16_t row) {
  const auto found = indexOfRow_.find(row);
  if (found == indexOfRow_.end() || !table_) return nullptr;
  const RunSite& site = sites_[found->second];
  SiteRecord* record = locator_.Find(*table_, site.row, FieldText(site.host), site.port);
  if (!record) ++unplaced_;
  return record;
}

std::string UnplacedResultsText(std::size_t unplaced) {
  if (unplaced == 0) return {};
  return Printf("%d result(s) could not be written into the site list:\r\ntheir sites were changed or removed during the run.",
                static_cast<int>(unplaced));
}

}  // namespace quenderlink
