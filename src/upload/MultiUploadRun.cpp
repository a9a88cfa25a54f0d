#include "upload/MultiUploadRun.h"

#include "core/FixedText.h"
#include "net/ReplyToSite.h"

namespace quenderlink {

void MultiUploadRun::OnJobAddress(std::uint16_t row, const std::string& address) {
  if (SiteRecord* site = copy_.RecordOf(row)) SetFieldText(site->IpByNumber, address);
}

SiteRecord* MultiUploadRun::WriteNewProgramReply(std::uint16_t row, const DeviceReply& reply,
                                                 bool allowChangeSiteName) {
  SiteRecord* site = copy_.RecordOf(row);
  if (site) CopyNewProgramReplyIntoSite(reply, allowChangeSiteName, *site);
  return site;
}

}  // namespace quenderlink
