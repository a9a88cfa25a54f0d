#include "core/SiteListLoader.h"

#include <vector>

#include "core/CSiteinfoClass.h"
#include "core/PathLengths.h"

namespace quenderlink {

int LoadSiteTable(const std::string& path, SiteTable& table, std::uint16_t telnetPortTrk1) {
  if (path.size() < kShortestFilePath) return kSiteListNoPath;
  CSiteinfoClass file;
  if (const int code = file.OpenAndCheck(path, false); code != 0) return code;
  // The table is sized from the length taken at this one open, so a file that
  // changes meanwhile cannot leave the table and the records read out of step.
  table.Release();
  std::vector<SiteRecord> records(static_cast<std::size_t>(file.recordCount()));
  if (file.ReadRecords(records, telnetPortTrk1) < 0) return static_cast<int>(file.lastError());
  table.Replace(std::move(records));
  return 0;
}

}  // namespace quenderlink
