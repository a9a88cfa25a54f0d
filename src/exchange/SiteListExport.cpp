#include "exchange/SiteListExport.h"

#include <string>

#include "core/AtomicFileWriter.h"
#include "core/CsvField.h"
#include "core/Lookups.h"
#include "core/Printf.h"
#include "core/RecordText.h"
#include "core/Utf8Text.h"
#include "core/VersionText.h"

namespace quenderlink {
namespace {

// The record's texts as UTF-8, for the printf formats.
struct RecordTexts {
  explicit RecordTexts(const SiteRecord& record)
      : host(RecordFieldUtf8(record.HostText)),
        name(RecordFieldUtf8(record.SiteName)),
        milepost(RecordFieldUtf8(record.Milepost)),
        track(TrackName(record.TrackIndex)),
        comm(RecordFieldUtf8(record.CommVersion)),
        reader(RecordFieldUtf8(record.ReaderVersion)),
        speech(RecordFieldUtf8(record.SpeechVersion)),
        lastPing(LastPingText(record.LastPing)),
        version(VersionText(record.VersionMajor, record.VersionMinor)) {}
  std::string host, name, milepost, track, comm, reader, speech, lastPing, version;
};

// Columns are padded by characters, not bytes, so that accented names keep them in line.
std::string TextLine(int count, const SiteRecord& record) {
  const RecordTexts t(record);
  return Printf("%4d %s  %4d   %s   %s  %-10s  %s      %s  %s  %s  %-10s\n", count, PaddedToWidth(t.host, 24).c_str(),
                record.DevicePort, PaddedToWidth(t.name, 20).c_str(), PaddedToWidth(t.milepost, 12).c_str(),
                t.track.c_str(), t.version.c_str(), PaddedToWidth(t.comm, 10).c_str(),
                PaddedToWidth(t.reader, 10).c_str(), PaddedToWidth(t.speech, 10).c_str(), t.lastPing.c_str());
}

std::string CsvLine(int count, const SiteRecord& record) {
  const RecordTexts t(record);
  return Printf("%d,%s,%d,%s,%s,%s,%s,%s,%s,%s,%s\n", count, CsvField(t.host).c_str(), record.DevicePort,
                CsvField(t.name).c_str(), CsvField(t.milepost).c_str(), CsvField(t.track).c_str(), t.version.c_str(),
                CsvField(t.comm).c_str(), CsvField(t.reader).c_str(), CsvField(t.speech).c_str(),
                CsvField(t.lastPing).c_str());
}

}  // namespace

std::string FormatSiteListExport(const SiteTable& table, SiteListExportFormat format) {
  const bool text = format == SiteListExportFormat::Text;
  std::string listing =
      text ? Printf("%-4s %-24s  %-4s   %-20s   %-12s  %-10s  %-8s  %-10s  %-10s  %-10s  %-10s\n", "Cnt",
                    "IP Address", "Port", "Name", "Milepost", "Track", "Version", "QZ_Comm", "QZ_Rdr", "QZ_Spch",
                    "LastPing")
           : Printf("%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s\n", "Cnt", "IP Address", "Port", "Name", "Milepost", "Track",
                    "Version", "QZ_Comm", "QZ_Rdr", "QZ_Spch", "LastPing");
  if (text) listing += ";" + std::string(147, '=') + "\n";
  int count = 0;
  for (const SiteRecord& record : table.records())
    listing += text ? TextLine(++count, record) : CsvLine(++count, record);
  return listing;
}

bool ExportSiteList(const SiteTable& table, SiteListExportFormat format, const std::filesystem::path& output) {
  return WriteFileAtomically(output, FormatSiteListExport(table, format));
}

}  // namespace quenderlink
