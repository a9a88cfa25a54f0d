#include "exchange/ImportLine.h"

#include <optional>

#include "core/DecimalText.h"
#include "core/FixedText.h"
#include "core/RecordText.h"

namespace quenderlink {
namespace {

std::string_view Trimmed(std::string_view field) {
  constexpr std::string_view kTrimmed = " \t\"";
  const std::size_t first = field.find_first_not_of(kTrimmed);
  if (first == std::string_view::npos) return {};
  return field.substr(first, field.find_last_not_of(kTrimmed) - first + 1);
}

std::string WithSingleQuotes(std::string_view field) {
  std::string text;
  text.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    text += field[i];
    if (field[i] == '"' && i + 1 < field.size() && field[i + 1] == '"') ++i;
  }
  return text;
}

void TakeField(int column, std::string_view field, const ImportColumns& columns, ImportedLine& line) {
  const std::string text = WithSingleQuotes(Trimmed(field));
  SiteRecord& record = line.record;
  // One column serves one role only: the address first, then the port, then the name.
  if (column == columns.ip)
    line.hostChanged = SetRecordText(record.HostText, text);
  else if (column == columns.port)
    record.DevicePort = static_cast<std::uint16_t>(LeadingDecimal(text));
  else if (column == columns.name)
    line.nameChanged = SetRecordText(record.SiteName, text);
}

}  // namespace

std::string ReplaceQuotedCommas(std::string_view line) {
  std::string text(line);
  bool quoted = false;
  for (char& c : text) {
    if (c == '"')
      quoted = !quoted;
    else if (c == ',' && quoted)
      c = '-';
  }
  return text;
}

ImportedLine ParseImportLine(std::string_view line, const ImportColumns& columns, const ImportDefaults& defaults,
                             const HostLookup& lookup) {
  ImportedLine imported{NewSiteRecord(defaults.devicePort)};
  SiteRecord& record = imported.record;
  record.TelnetPort = defaults.telnetPort;

  const std::string text = ReplaceQuotedCommas(line);
  std::string_view rest = text;
  for (int column = 1; !rest.empty(); ++column) {
    const std::size_t comma = rest.find(',');
    const std::string_view field = rest.substr(0, comma);
    // The length before trimming: a field of blanks is not empty, two commas in a row are.
    if (field.empty()) break;
    TakeField(column, field, columns, imported);
    if (comma == std::string_view::npos) break;
    rest = rest.substr(comma + 1);
  }

  const std::string host(FieldText(record.HostText));
  const std::optional<std::string> address = host.empty() ? std::nullopt : AddressOfHost(host, lookup);
  SetFieldText(record.IpByNumber, address.value_or(kNoAddress));
  const std::uint32_t port = record.DevicePort;
  if (port < kLowestImportPort || port > kHighestImportPort) record.DevicePort = defaults.devicePort;
  return imported;
}

}  // namespace quenderlink
