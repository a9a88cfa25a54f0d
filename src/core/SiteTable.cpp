#include "core/SiteTable.h"

#include <bitset>

#include "core/FixedText.h"

namespace quenderlink {

SiteRecord* SiteTable::FindByRow(std::uint16_t rowNumber) {
  for (SiteRecord& record : records_)
    if (record.RowNumber == rowNumber) return &record;
  return nullptr;
}

const SiteRecord* SiteTable::FindByRow(std::uint16_t rowNumber) const {
  return const_cast<SiteTable*>(this)->FindByRow(rowNumber);
}

std::uint16_t SiteTable::HighlightedRow() const {
  for (const SiteRecord& record : records_)
    if (record.SiteFlags & kFlagHighlighted) return record.RowNumber;
  return kNoRow;
}

std::uint16_t SiteTable::FindByAddress(std::string_view ipByNumber, std::uint16_t devicePort) const {
  for (const SiteRecord& record : records_)
    if (FieldText(record.IpByNumber) == ipByNumber && record.DevicePort == devicePort)
      return record.RowNumber;
  return kNoRow;
}

void SiteTable::ClearFlags() {
  for (SiteRecord& record : records_) record.SiteFlags = 0;
}

void SiteTable::ClearLastPing() {
  for (SiteRecord& record : records_) record.LastPing = kLastPingNever;
}

bool SiteTable::SingleProductAmongHighlighted() const {
  std::bitset<7> seen;
  for (const SiteRecord& record : records_)
    if ((record.SiteFlags & kFlagHighlighted) && record.ProductType >= 1 && record.ProductType <= 6)
      seen.set(record.ProductType);
  return seen.count() == 1;
}

}  // namespace quenderlink
