#include "survey/ScanTotals.h"

#include "core/Printf.h"

namespace quenderlink {

std::string ScanTotalsText(const ScanTotals& totals) {
  return Printf("\r\n  Total IPs    : %3d\r\n  Total Pingged: %3d\r\n  Total Success: %3d\r\n  Total Failed : %3d\r\n",
                totals.total, totals.pinged, totals.success, totals.failed);
}

}  // namespace quenderlink
