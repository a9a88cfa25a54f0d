#include "survey/ListedSiteAddresses.h"

#include "core/FixedText.h"
#include "core/RecordText.h"
#include "net/HostAddress.h"

namespace quenderlink {

std::vector<std::string> ListedSiteAddresses(const SiteTable& sites) {
  std::vector<std::string> addresses;
  addresses.reserve(sites.size());
  for (std::size_t row = 0; row < sites.size(); ++row) {
    const std::string_view byNumber = FieldText(sites[row].IpByNumber);
    const bool resolved = !byNumber.empty() && byNumber != kNoAddress;
    addresses.push_back(resolved ? std::string(byNumber) : RecordFieldUtf8(sites[row].HostText));
  }
  return addresses;
}

}  // namespace quenderlink
