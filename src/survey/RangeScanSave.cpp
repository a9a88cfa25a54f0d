#include "survey/RangeScanSave.h"

#include <vector>

#include "core/CSiteinfoClass.h"
#include "core/CsvField.h"
#include "core/ErrorMessages.h"
#include "core/FixedText.h"
#include "core/Lookups.h"
#include "core/PathLengths.h"
#include "core/Printf.h"
#include "core/RecordText.h"
#include "core/RecordsWrittenText.h"
#include "core/Utf8Text.h"

namespace quenderlink {
namespace {

// A saved row keeps a product code only where the Product column shows one
// (railroad NS), and then only as RKM, for both RKM kinds.
std::uint8_t SavedProductType(std::uint8_t productType, const RuntimeParams& params) {
  const bool rkm = productType == kProductRkm || productType == kProductRkmMicro;
  return params.railroadCode == kRailroadNs && rkm ? kProductRkm : 0;
}

// The hidden build is kept only where the Version column shows it, and a negative one as 0.
std::int8_t SavedHiddenBuild(std::int8_t build, const RuntimeParams& params) {
  return params.showHidden && build > 0 ? build : 0;
}

std::string WriteFailedReport(const std::string& path) { return Printf("FAILED TO WRITE\r\n%s", path.c_str()); }

bool HoldsAddress(const SiteTable& listed, const std::string& address) {
  for (const SiteRecord& record : listed.records())
    if (FieldText(record.IpByNumber) == address) return true;
  return false;
}

std::vector<SiteRecord> CheckedRecords(std::span<const RangeRow> rows, std::uint16_t port,
                                       const RuntimeParams& params, const SiteTable* listed) {
  std::vector<SiteRecord> records;
  for (const RangeRow& row : rows) {
    if (!row.checked) continue;
    if (listed && HoldsAddress(*listed, row.address)) continue;
    records.push_back(SiteRecordFromRangeRow(row, port, params));
  }
  return records;
}

}  // namespace

std::vector<PopupItem> RangeSaveMenu(const std::string& currentSiteFile) {
  std::vector<PopupItem> items;
  if (currentSiteFile.size() >= kShortestFilePath)
    items.push_back({kRangeAppendRows, Printf("Append Selected Rows to %s", currentSiteFile.c_str())});
  items.push_back({kRangeSaveNewFile, "Save Selected Rows in New File ..."});
  items.push_back({kRangeSaveCsv, "Save in .csv File ..."});
  items.push_back({kRangeSaveText, "Save in Text File ..."});
  return items;
}

SiteRecord SiteRecordFromRangeRow(const RangeRow& row, std::uint16_t port, const RuntimeParams& params) {
  SiteRecord record{};
  SetRecordText(record.SiteName, row.siteName);
  SetRecordText(record.Milepost, row.milepost);
  SetFieldText(record.HostText, row.address);
  SetFieldText(record.IpByNumber, row.address);
  record.DevicePort = port;
  record.TelnetPort = port == 9001 ? params.telnetPortTrk1 : params.telnetPortTrk2;
  record.SubdivCode = row.values.subdivCode;
  record.SiteId = row.values.siteId;
  record.ProductType = SavedProductType(row.values.productType, params);
  SetRecordText(record.CommVersion, row.comm);
  SetRecordText(record.ReaderVersion, row.reader);
  SetRecordText(record.SpeechVersion, row.speech);
  record.VersionMajor = row.values.versionMajor;
  record.VersionMinor = row.values.versionMinor;
  record.HiddenBuild = SavedHiddenBuild(row.values.versionBuild, params);
  return record;
}

int AppendCheckedRows(std::span<const RangeRow> rows, std::uint16_t port, const RuntimeParams& params,
                      const SiteTable& listed, const std::filesystem::path& file, const std::optional<SiteFileStamp>& loaded) {
  const std::vector<SiteRecord> records = CheckedRecords(rows, port, params, &listed);
  if (records.empty()) return 0;
  CSiteinfoClass list;
  const bool appended = loaded ? list.AppendRecords(file, records, *loaded).has_value() : list.AppendRecords(file, records);
  if (appended) return static_cast<int>(records.size());
  return list.lastError() == kSiteFileChangedElsewhere ? kRangeFileChangedElsewhere : -1;
}

int SaveCheckedRows(std::span<const RangeRow> rows, std::uint16_t port, const RuntimeParams& params,
                    const std::filesystem::path& file) {
  SiteTable saved;
  saved.Replace(CheckedRecords(rows, port, params, nullptr));
  return CSiteinfoClass().SaveAll(file, saved) ? static_cast<int>(saved.size()) : -1;
}

std::string FormatRangeList(std::span<const RangeRow> rows, std::uint16_t port, RangeListFormat format) {
  const bool text = format == RangeListFormat::Text;
  std::string listing =
      text ? Printf("%-4s %-24s  %-4s   %-20s   %-20s   %-12s  %-10s  %-8s  %-10s  %-10s  %-10s\n", ";Cnt",
                    "IP Address", "Port", "Sub-Div", "Name", "Milepost", "Track", "Version", "QZ_Comm", "QZ_Rdr",
                    "QZ_Cpch")
           : Printf("%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s\n", ";Cnt", "IP Address", "Port", "Sub-Div", "Name", "Milepost",
                    "Track", "Version", "QZ_Comm", "QZ_Rdr", "QZ_Cpch");
  listing += ";" + std::string(153, '=') + "\n";
  int count = 0;
  for (const RangeRow& row : rows) {
    ++count;
    // The unit's texts are padded by characters, not bytes, so that accented names keep the columns in line.
    listing += text ? Printf("%4d %-24s  %4d   %-20s   %s   %s  %s  %-8s  %s  %s  %s\n", count, row.address.c_str(),
                             port, row.subdivision.c_str(), PaddedToWidth(row.siteName, 20).c_str(),
                             PaddedToWidth(row.milepost, 12).c_str(), PaddedToWidth(row.track, 10).c_str(),
                             row.version.c_str(), PaddedToWidth(row.comm, 10).c_str(),
                             PaddedToWidth(row.reader, 10).c_str(), PaddedToWidth(row.speech, 10).c_str())
                    : Printf("%d,%s,%d,%s,%s,%s,%s,%s,%s,%s,%s\n", count, CsvField(row.address).c_str(), port,
                             CsvField(row.subdivision).c_str(), CsvField(row.siteName).c_str(),
                             CsvField(row.milepost).c_str(), CsvField(row.track).c_str(),
                             CsvField(row.version).c_str(), CsvField(row.comm).c_str(), CsvField(row.reader).c_str(),
                             CsvField(row.speech).c_str());
  }
  return listing;
}

std::string AppendedReport(int count, const std::string& path) {
  if (count == kRangeFileChangedElsewhere) return SiteFileChangedText(path);
  if (count < 0) return WriteFailedReport(path);
  return RecordsAppendedText(count, path);
}

std::string SavedReport(int count, const std::string& path) {
  if (count < 0) return WriteFailedReport(path);
  return RecordsSavedText(count, path);
}

std::string ListSavedReport(bool written, const std::string& path) {
  if (!written) return WriteFailedReport(path);
  return Printf("%s\r\n\r\n%s", "List was successfuly saved!", path.c_str());
}

}  // namespace quenderlink
