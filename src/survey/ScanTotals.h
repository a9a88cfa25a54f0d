#pragma once

#include <string>

namespace quenderlink {

// The counters of an address scan, UDP or ICMP alike.
struct ScanTotals {
  int total = 0;
  int pinged = 0;
  int success = 0;
  int failed = 0;
};

// The totals box of a scan view.
std::string ScanTotalsText(const ScanTotals& totals);

}  // namespace quenderlink
