#include "upload/MultiUploadRun.h"

#include "core/FixedText.h"

namespace quenderlink {

void MultiUploadRun::OnJobAddress(std::uint16_t row, const std::string& address) {
  if (SiteRecord* site = copy_.RecordOf(row)) SetFieldText(site->IpByNumber, address);
}

}  // namespace quenderlink
