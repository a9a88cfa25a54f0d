#include "survey/DnsConversion.h"

#include <optional>

#include "core/FixedText.h"
#include "net/StoppableLookup.h"

namespace quenderlink {

void ConvertHostNames(const std::vector<RunSite>& sites, DnsConversionListener& listener,
                      const std::atomic<std::uint8_t>& stop, const HostLookup& lookup) {
  for (const RunSite& site : sites) {
    if (stop.load() != 0) break;
    const std::string host(FieldText(site.host));
    listener.OnDnsName(host);
    const std::optional<std::string> address = AddressOfHostUnlessStopped(host, stop, lookup);
    if (!address && stop.load() != 0) break;
    if (address) {
      listener.OnDnsAddress(*address);
    } else {
      listener.OnDnsFailed(kNoAddress);
    }
    listener.OnDnsRowResolved(site.row, address.value_or(kNoAddress));
  }
  listener.OnDnsDone();
}

}  // namespace quenderlink
