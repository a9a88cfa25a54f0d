#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "core/SiteRecord.h"

namespace quenderlink {

// The program-wide array of site records, replaced whole on every load of the
// site list file. Records are never inserted or removed in place: a deletion
// sets RowNumber to kNoRow and the file is rewritten and loaded again.
class SiteTable {
 public:
  std::size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  std::span<SiteRecord> records() { return records_; }
  std::span<const SiteRecord> records() const { return records_; }
  SiteRecord& operator[](std::size_t index) { return records_[index]; }
  const SiteRecord& operator[](std::size_t index) const { return records_[index]; }

  void Replace(std::vector<SiteRecord> records) {
    records_ = std::move(records);
    ++generation_;
  }
  void Release() {
    records_.clear();
    records_.shrink_to_fit();
    ++generation_;
  }
  // Counts the loads and releases: a run that started on one generation must
  // not save a table that has been replaced since.
  std::uint64_t generation() const { return generation_; }

  SiteRecord* FindByRow(std::uint16_t rowNumber);
  const SiteRecord* FindByRow(std::uint16_t rowNumber) const;
  // RowNumber of the first record with the highlighted bit, or kNoRow.
  std::uint16_t HighlightedRow() const;
  // RowNumber of the first record whose IpByNumber equals the text exactly and
  // whose DevicePort equals the port, or kNoRow.
  std::uint16_t FindByAddress(std::string_view ipByNumber, std::uint16_t devicePort) const;
  void ClearFlags();
  void ClearLastPing();
  // True when the highlighted records carry exactly one of the product types 1..6.
  bool SingleProductAmongHighlighted() const;

 private:
  std::vector<SiteRecord> records_;
  std::uint64_t generation_ = 0;
};

}  // namespace quenderlink
