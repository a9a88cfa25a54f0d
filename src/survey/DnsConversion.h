#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "core/RunSite.h"
#include "net/HostAddress.h"

namespace quenderlink {

// What the conversion of host names to addresses reports, in order for each
// site: its name, then its address or its failure, then that its site is done.
class DnsConversionListener {
 public:
  virtual ~DnsConversionListener() = default;

  virtual void OnDnsName(const std::string& host) = 0;
  virtual void OnDnsAddress(const std::string& address) = 0;
  // `ipByNumber` is what the record keeps after the failure: "0.0.0.0".
  virtual void OnDnsFailed(const std::string& ipByNumber) = 0;
  // The address the site with that RowNumber keeps as its IpByNumber: the
  // receiver writes it, on its own thread, so the worker never writes into the table.
  virtual void OnDnsRowResolved(std::uint16_t row, const std::string& ipByNumber) = 0;
  virtual void OnDnsDone() = 0;
};

// Finds for each site's host its first address, "0.0.0.0" when none (a dotted
// address is its own), and reports it for the site's row. Blocks on name
// resolution, so it runs on a worker thread. A stop ends it before the next
// name, or during a look-up that keeps it waiting: that site is not reported.
void ConvertHostNames(const std::vector<RunSite>& sites, DnsConversionListener& listener,
                      const std::atomic<std::uint8_t>& stop, const HostLookup& lookup = ResolveIpv4);

}  // namespace quenderlink
