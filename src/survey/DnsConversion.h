#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/SiteTable.h"

namespace quenderlink {

// What the conversion of host names to addresses reports, in order for each
// site: its name, then its address or its failure, then that its row is done.
class DnsConversionListener {
 public:
  virtual ~DnsConversionListener() = default;

  virtual void OnDnsName(const std::string& host) = 0;
  virtual void OnDnsAddress(const std::string& address) = 0;
  // `ipByNumber` is what the record keeps after the failure: "0.0.0.0".
  virtual void OnDnsFailed(const std::string& ipByNumber) = 0;
  // The address the record of that row keeps as its IpByNumber: the receiver
  // writes it, on its own thread, so the worker never writes into the table.
  virtual void OnDnsRowResolved(std::size_t row, const std::string& ipByNumber) = 0;
  virtual void OnDnsDone() = 0;
};

// The HostText of the first `listRows` site records: the rows the main view lists, in table order.
std::vector<std::string> ListedHostTexts(const SiteTable& sites, std::size_t listRows);

// Finds for each host its first address, "0.0.0.0" when none (a dotted address
// is its own), and reports it for the row at the host's index. Blocks on name
// resolution, so it runs on a worker thread.
void ConvertHostNames(const std::vector<std::string>& hosts, DnsConversionListener& listener);

}  // namespace quenderlink
