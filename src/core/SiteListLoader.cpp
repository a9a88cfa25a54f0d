#include "core/SiteListLoader.h"

#include <vector>

#include "core/CSiteinfoClass.h"
#include "core/PathLengths.h"

namespace quenderlink {
namespace {

int Load(const std::string& path, SiteTable& table, std::uint16_t telnetPortTrk1, SiteFileStamp* loaded) {
  if (path.size() < kShortestFilePath) return kSiteListNoPath;
  CSiteinfoClass file;
  if (const int code = file.OpenAndCheck(path, false); code != 0) return code;
  // Taken while the file is held open and locked against writers, so it stamps the bytes read.
  const SiteFileStamp stamp = loaded ? file.Stamp() : SiteFileStamp{};
  // The table is sized from the length taken at this one open, so a file that
  // changes meanwhile cannot leave the table and the records read out of step.
  table.Release();
  std::vector<SiteRecord> records(static_cast<std::size_t>(file.recordCount()));
  if (file.ReadRecords(records, telnetPortTrk1) < 0) return static_cast<int>(file.lastError());
  table.Replace(std::move(records));
  if (loaded) *loaded = stamp;
  return 0;
}

}  // namespace

int LoadSiteTable(const std::string& path, SiteTable& table, std::uint16_t telnetPortTrk1) {
  return Load(path, table, telnetPortTrk1, nullptr);
}

int LoadSiteTable(const std::string& path, SiteTable& table, std::uint16_t telnetPortTrk1, SiteFileStamp& loaded) {
  return Load(path, table, telnetPortTrk1, &loaded);
}

}  // namespace quenderlink
