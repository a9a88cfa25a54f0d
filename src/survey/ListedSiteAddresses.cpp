#include "survey/ListedSiteAddresses.h"

#include "core/FixedText.h"

namespace quenderlink {

std::vector<std::string> ListedSiteAddresses(const SiteTable& sites) {
  std::vector<std::string> addresses;
  addresses.reserve(sites.size());
  for (std::size_t row = 0; row < sites.size(); ++row) {
    const std::string_view byNumber = FieldText(sites[row].IpByNumber);
    addresses.emplace_back(byNumber.empty() ? FieldText(sites[row].HostText) : byNumber);
  }
  return addresses;
}

}  // namespace quenderlink
