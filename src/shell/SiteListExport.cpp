#include "shell/SiteListExport.h"

#include <string>

#include "core/AtomicFileWriter.h"
#include "core/CsvField.h"
#include "core/FixedText.h"
#include "core/Lookups.h"
#include "core/Printf.h"
#include "core/VersionText.h"

namespace quenderlink {
namespace {

// The record's texts, each cut at its NUL, as C strings for the printf formats.
struct RecordTexts {
  explicit RecordTexts(const SiteRecord& record)
      : host(FieldText(record.HostText)),
        name(FieldText(record.SiteName)),
        milepost(FieldText(record.Milepost)),
        track(TrackName(record.TrackIndex)),
        comm(FieldText(record.CommVersion)),
        reader(FieldText(record.ReaderVersion)),
        speech(FieldText(record.SpeechVersion)),
        lastPing(LastPingText(record.LastPing)),
        version(VersionText(record.VersionMajor, record.VersionMinor)) {}
  std::string host, name, milepost, track, comm, reader, speech, lastPing, version;
};

std::string TextLine(int count, const SiteRecord& record) {
  const RecordTexts t(record);
  return Printf("%4d %-24s  %4d   %-20s   %-12s  %-10s  %s      %-10s  %-10s  %-10s  %-10s\n", count,
                t.host.c_str(), record.DevicePort, t.name.c_str(), t.milepost.c_str(), t.track.c_str(),
                t.version.c_str(), t.comm.c_str(), t.reader.c_str(), t.speech.c_str(), t.lastPing.c_str());
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
