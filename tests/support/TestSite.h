#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/FixedText.h"
#include "core/SiteRecord.h"

namespace quenderlink::testing {

// The fields a test sets on a new site record; every other field keeps the
// value a new record has.
struct SiteFields {
  std::string_view name{};
  std::string_view address{};  // the host text and the address by number
  std::uint16_t port = 9001;
  std::uint16_t row = 0;
  std::uint8_t product = 0;
  std::uint8_t lastPing = 0;
  std::uint8_t flags = 0;
};

inline SiteRecord TestSite(const SiteFields& fields) {
  SiteRecord site = NewSiteRecord(fields.port);
  SetFieldText(site.SiteName, fields.name);
  SetFieldText(site.HostText, fields.address);
  SetFieldText(site.IpByNumber, fields.address);
  site.RowNumber = fields.row;
  site.ProductType = fields.product;
  site.LastPing = fields.lastPing;
  site.SiteFlags = fields.flags;
  return site;
}

// Every byte alike, padding and bytes after a text's NUL included, as a file holds them.
inline bool SameRecordBytes(const SiteRecord& a, const SiteRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace quenderlink::testing
