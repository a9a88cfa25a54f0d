#include "journal/FleetVersions.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "core/Lookups.h"
#include "core/RecordText.h"
#include "core/VersionText.h"

namespace quenderlink {

namespace {

// A whole number at the start of the text; the text after it is left.
std::optional<int> LeadingNumber(std::string_view& text) {
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end == text.data()) return std::nullopt;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return number;
}

FleetUnit UnitOf(const SiteRecord& site, const LastAnsweredVersion& lastAnswered) {
  FleetUnit unit;
  unit.row = site.RowNumber;
  unit.siteName = RecordFieldUtf8(site.SiteName);
  unit.host = RecordFieldUtf8(site.HostText);
  unit.port = site.DevicePort;
  unit.version = FieldVersion{site.VersionMajor, site.VersionMinor};
  if (const std::optional<std::string> answered = lastAnswered(SiteKey{unit.host, unit.port})) {
    if (const std::optional<FieldVersion> version = ParseFieldVersion(*answered)) {
      unit.version = *version;
      unit.fromJournal = true;
    }
  }
  return unit;
}

}  // namespace

std::string FieldVersion::Text() const { return VersionText(major, minor); }

std::optional<FieldVersion> ParseFieldVersion(std::string_view text) {
  const std::optional<int> major = LeadingNumber(text);
  if (!major || text.empty() || text.front() != '.') return std::nullopt;
  text.remove_prefix(1);
  const std::optional<int> minor = LeadingNumber(text);
  if (!minor || (!text.empty() && text.front() != '-')) return std::nullopt;
  return FieldVersion{*major, *minor};
}

std::vector<ProductVersions> FleetVersionsOf(const SiteTable& sites, const LastAnsweredVersion& lastAnswered) {
  std::map<std::uint8_t, std::vector<FleetUnit>> unitsOfProduct;
  for (const SiteRecord& site : sites.records())
    unitsOfProduct[site.ProductType].push_back(UnitOf(site, lastAnswered));

  std::vector<ProductVersions> fleet;
  for (auto& [product, units] : unitsOfProduct) {
    ProductVersions& versions = fleet.emplace_back();
    versions.product = product;
    versions.productName = ProductShortName(product);
    std::map<FieldVersion, int, std::greater<>> counts;
    for (const FleetUnit& unit : units) ++counts[unit.version];
    for (const auto& [version, count] : counts) versions.versions.push_back({version, count});
    std::sort(units.begin(), units.end(), [](const FleetUnit& a, const FleetUnit& b) { return a.row < b.row; });
    versions.units = std::move(units);
  }
  return fleet;
}

}  // namespace quenderlink
