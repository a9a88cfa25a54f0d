#include "core/RunSite.h"

#include <algorithm>

#include "core/FixedText.h"
#include "core/Printf.h"

namespace quenderlink {
namespace {

// The place of a site no longer in the table: it costs no further pass.
constexpr std::size_t kGone = static_cast<std::size_t>(-1);

RunSite RunSiteOf(const SiteRecord& record) {
  RunSite site;
  site.row = record.RowNumber;
  SetFieldText(site.host, FieldText(record.HostText));
  site.port = record.DevicePort;
  site.productType = record.ProductType;
  return site;
}

bool SameSite(const SiteRecord& record, const RunSite& site) {
  return record.DevicePort == site.port && FieldText(record.HostText) == FieldText(site.host);
}

}  // namespace

std::vector<RunSite> CopyRunSites(const SiteTable& table, std::uint8_t flag) {
  std::vector<RunSite> sites;
  for (const SiteRecord& record : table.records())
    if (record.SiteFlags & flag) sites.push_back(RunSiteOf(record));
  return sites;
}

void RunSiteCopy::Take(SiteTable& table, std::uint8_t flag) {
  Clear(table);
  for (std::size_t position = 0; position < table.size(); ++position)
    if (table[position].SiteFlags & flag) Add(position);
}

void RunSiteCopy::TakeFirst(SiteTable& table, std::size_t count) {
  Clear(table);
  for (std::size_t position = 0; position < std::min(count, table.size()); ++position) Add(position);
}

void RunSiteCopy::Clear(SiteTable& table) {
  table_ = &table;
  sites_.clear();
  positions_.clear();
  indexOfRow_.clear();
  unplaced_ = 0;
}

void RunSiteCopy::Add(std::size_t position) {
  const SiteRecord& record = (*table_)[position];
  // A copy: the packed record's field cannot be bound to a reference.
  const std::uint16_t row = record.RowNumber;
  indexOfRow_.emplace(row, sites_.size());
  sites_.push_back(RunSiteOf(record));
  positions_.push_back(position);
}

SiteRecord* RunSiteCopy::RecordOf(std::uint16_t row) {
  const auto found = indexOfRow_.find(row);
  if (found == indexOfRow_.end()) return nullptr;
  const std::size_t index = found->second;
  // The table was reordered since: every site of the run is looked up once.
  if (positions_[index] != kGone && !HoldsRow(positions_[index], row)) Relearn();
  const std::size_t position = positions_[index];
  if (position != kGone && SameSite((*table_)[position], sites_[index])) return &(*table_)[position];
  ++unplaced_;
  return nullptr;
}

bool RunSiteCopy::HoldsRow(std::size_t position, std::uint16_t row) const {
  return position < table_->size() && (*table_)[position].RowNumber == row;
}

void RunSiteCopy::Relearn() {
  std::fill(positions_.begin(), positions_.end(), kGone);
  for (std::size_t position = 0; position < table_->size(); ++position) {
    const std::uint16_t row = (*table_)[position].RowNumber;
    const auto found = indexOfRow_.find(row);
    if (found != indexOfRow_.end()) positions_[found->second] = position;
  }
}

std::string UnplacedResultsText(std::size_t unplaced) {
  if (unplaced == 0) return {};
  return Printf(
      "%d result(s) could not be written into the site list:\r\ntheir sites were changed or removed during the run.",
      static_cast<int>(unplaced));
}

}  // namespace quenderlink
