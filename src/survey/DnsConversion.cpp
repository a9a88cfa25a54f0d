#include "survey/DnsConversion.h"

#include <algorithm>
#include <optional>

#include "core/FixedText.h"
#include "net/HostAddress.h"

namespace quenderlink {

std::vector<std::string> ListedHostTexts(const SiteTable& sites, std::size_t listRows) {
  std::vector<std::string> hosts;
  const std::size_t count = std::min(listRows, sites.size());
  for (std::size_t row = 0; row < count; ++row) hosts.emplace_back(FieldText(sites[row].HostText));
  return hosts;
}

void ConvertHostNames(const std::vector<std::string>& hosts, DnsConversionListener& listener) {
  for (std::size_t row = 0; row < hosts.size(); ++row) {
    const std::string& host = hosts[row];
    listener.OnDnsName(host);
    const std::optional<std::string> address = AddressOfHost(host);
    if (address) {
      listener.OnDnsAddress(*address);
    } else {
      listener.OnDnsFailed(kNoAddress);
    }
    listener.OnDnsRowResolved(row, address.value_or(kNoAddress));
  }
  listener.OnDnsDone();
}

}  // namespace quenderlink
