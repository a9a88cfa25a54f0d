#include "exchange/SiteWorkbookRows.h"

#include "core/DecimalText.h"
#include "core/FixedText.h"
#include "core/Lookups.h"
#include "core/RecordText.h"
#include "core/VersionText.h"

namespace quenderlink {
namespace {

constexpr std::array<WorkbookColumn, kWorkbookColumnCount> kColumns{{
    {"Count", 7},
    {"DNS", 25},
    {"IP_Address", 15},
    {"Port #", 8},
    {"SubDiv", 8},
    {"SubDiv", 15},
    {"Detector", 25},
    {"MP_Txt", 10},
    {"MP_Num", 10},
    {"Track", 10},
    {"Ver Cad", 8},
    {"QZ_Comm", 15},
    {"QZ_Reader", 15},
    {"QZ_Speech", 15},
    {"Last Ping", 15},
}};

WorkbookCell Number(double value) { return {WorkbookCell::Kind::Number, value, {}}; }
WorkbookCell Text(std::string text) { return {WorkbookCell::Kind::Text, 0, std::move(text)}; }

template <std::size_t N>
WorkbookCell RecordCell(const char (&field)[N]) {
  return Text(RecordFieldUtf8(field));
}

}  // namespace

std::span<const WorkbookColumn, kWorkbookColumnCount> WorkbookColumns() { return kColumns; }

WorkbookRowFormat RowFormatFor(std::uint8_t lastPing) {
  switch (lastPing) {
    case kLastPingNever: return WorkbookRowFormat::Never;
    case kLastPingBadAddress:
    case kLastPingUserAbort:
    case kLastPingNoAnswer: return WorkbookRowFormat::Failed;
    default: return WorkbookRowFormat::Answered;  // 1..252: a reply time
  }
}

WorkbookFont RowFont(WorkbookRowFormat format) {
  switch (format) {
    case WorkbookRowFormat::Failed: return {11, true, PaletteIndex::Red};
    case WorkbookRowFormat::Answered: return {11, true, PaletteIndex::Navy};
    case WorkbookRowFormat::Never: return {11, false, PaletteIndex::Black};
  }
  return {11, false, PaletteIndex::Black};
}

WorkbookHeaderLook HeaderLook() { return {{12, true, PaletteIndex::White}, PaletteIndex::Plum}; }

WorkbookRow SiteWorkbookRow(int count, const SiteRecord& site, unsigned railroadCode) {
  const std::uint16_t subdivCode = site.SubdivCode;
  return {RowFormatFor(site.LastPing),
          {{
              Number(count),
              RecordCell(site.HostText),
              RecordCell(site.IpByNumber),
              Number(site.DevicePort),
              Number(subdivCode),
              Text(SubdivisionName(subdivCode, railroadCode)),
              RecordCell(site.SiteName),
              RecordCell(site.Milepost),
              Number(LeadingDecimalNumber(FieldText(site.Milepost))),
              Text(TrackName(site.TrackIndex)),
              Text(VersionText(site.VersionMajor, site.VersionMinor)),
              RecordCell(site.CommVersion),
              RecordCell(site.ReaderVersion),
              RecordCell(site.SpeechVersion),
              Text(LastPingText(site.LastPing)),
          }}};
}

std::vector<WorkbookRow> SiteWorkbookRows(const SiteTable& table, unsigned railroadCode) {
  std::vector<WorkbookRow> rows;
  int count = 0;
  for (const SiteRecord& site : table.records()) rows.push_back(SiteWorkbookRow(++count, site, railroadCode));
  return rows;
}

}  // namespace quenderlink
