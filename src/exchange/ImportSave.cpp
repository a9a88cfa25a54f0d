#include "exchange/ImportSave.h"

#include "core/CSiteinfoClass.h"
#include "core/FixedText.h"
#include "core/PathLengths.h"
#include "core/Printf.h"

namespace quenderlink {
namespace {

std::string FailureText(const std::filesystem::path& path, const CSiteinfoClass& file) {
  return Printf("Nothing was written to\r\n%s\r\n%s", path.c_str(), SiteFileErrorText(file.lastError()).c_str());
}

}  // namespace

std::vector<PopupItem> ImportSaveMenu(const std::string& currentSiteFile) {
  std::vector<PopupItem> items;
  if (currentSiteFile.size() >= kShortestFilePath) {
    const std::string name = std::filesystem::path(currentSiteFile).filename().string();
    items.push_back({kImportAppendAll, Printf("Append ALL to %s", name.c_str())});
    items.push_back({});
    items.push_back({kImportAppendSuccessful, Printf("Append SUCCESSFUL to %s", name.c_str())});
    items.push_back({});
  }
  items.push_back({kImportSaveAllAs, "Save ALL in New File ..."});
  items.push_back({});
  items.push_back({kImportSaveSuccessfulAs, "Save SUCCESSFUL in New File ..."});
  return items;
}

bool SavesSuccessfulOnly(int command) {
  return command == kImportAppendSuccessful || command == kImportSaveSuccessfulAs;
}

ImportSaveResult AppendImportedSites(const std::filesystem::path& path, std::span<const SiteRecord> records,
                                     const SiteTable& listed, const std::optional<SiteFileStamp>& loaded) {
  ImportSaveResult result;
  std::vector<SiteRecord> added;
  for (const SiteRecord& record : records) {
    const bool known = listed.FindByAddress(FieldText(record.IpByNumber), record.DevicePort) != kNoRow;
    result.alreadyListed.push_back(known);
    if (!known) added.push_back(record);
  }
  if (added.empty()) return result;
  CSiteinfoClass file;
  const bool appended = loaded ? file.AppendRecords(path, added, *loaded).has_value() : file.AppendRecords(path, added);
  if (!appended) {
    result.error = FailureText(path, file);
    return result;
  }
  result.written = static_cast<int>(added.size());
  return result;
}

ImportSaveResult SaveImportedSitesAs(const std::filesystem::path& path, std::span<const SiteRecord> records) {
  SiteTable table;
  table.Replace({records.begin(), records.end()});
  CSiteinfoClass file;
  if (!file.SaveAll(path, table)) return {0, FailureText(path, file), {}};
  return {static_cast<int>(records.size()), {}, {}};
}

}  // namespace quenderlink
