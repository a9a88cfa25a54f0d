#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/SiteTable.h"
#include "journal/JournalReader.h"

namespace quenderlink {

// A unit's program version, compared as numbers: the major, then the minor.
struct FieldVersion {
  int major = 0;
  int minor = 0;

  friend auto operator<=>(const FieldVersion&, const FieldVersion&) = default;
  std::string Text() const;
};

// "3.12" as the journal writes a version ("3.12-4" too, the build left out); none for any other text.
std::optional<FieldVersion> ParseFieldVersion(std::string_view text);

// A listed site with the version it runs.
struct FleetUnit {
  std::uint16_t row = 0;
  std::string siteName;  // UTF-8
  std::string host;      // UTF-8
  std::uint16_t port = 0;
  FieldVersion version;
  bool fromJournal = false;  // the version the unit last answered with, else the list's
};

struct VersionCount {
  FieldVersion version;
  int units = 0;
};

// One product's versions in the field.
struct ProductVersions {
  std::uint8_t product = 0;
  std::string productName;             // ProductShortName
  std::vector<VersionCount> versions;  // newest first
  std::vector<FleetUnit> units;        // by row

  const FieldVersion& newest() const { return versions.front().version; }
  // On an older version than the newest seen for the product.
  bool IsBehind(const FleetUnit& unit) const { return unit.version < newest(); }
};

// The version a site's unit last answered with, from the journal; none when it never did.
using LastAnsweredVersion = std::function<std::optional<std::string>(const SiteKey& site)>;

// The listed sites' versions per product, by product code: each unit's version
// is the one it last answered with, else the list's VersionMajor.VersionMinor.
std::vector<ProductVersions> FleetVersionsOf(const SiteTable& sites, const LastAnsweredVersion& lastAnswered);

}  // namespace quenderlink
