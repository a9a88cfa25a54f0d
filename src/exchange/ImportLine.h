#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/SiteRecord.h"
#include "net/HostAddress.h"

namespace quenderlink {

// Which column of an import file holds what: 0 = not used, else the column
// counted from 1 (at most kMostImportColumns).
struct ImportColumns {
  int ip = 0;
  int port = 0;
  int name = 0;
};

inline constexpr int kMostImportColumns = 12;

// What a line's record starts from: the settings "Default Port Num" and "Telnet Port Trk1".
struct ImportDefaults {
  std::uint16_t devicePort = 0;
  std::uint16_t telnetPort = 0;
};

// Ports outside this range are taken for a slip and replaced by the default port.
inline constexpr std::uint32_t kLowestImportPort = 100;
inline constexpr std::uint32_t kHighestImportPort = 65000;

// Commas inside double quotes become "-", so that a quoted field stays one field;
// every double quote toggles the quoted state, which also reads a doubled quote
// inside a quoted field right.
std::string ReplaceQuotedCommas(std::string_view line);

// A line's site record, and which of its texts had characters a site list
// cannot hold (they are "?" in the record).
struct ImportedLine {
  SiteRecord record;
  bool hostChanged = false;
  bool nameChanged = false;
};

// One line of an import file (UTF-8) as a site record. Fields are split at
// commas and trimmed of spaces, tabs and double quotes; a doubled quote left
// inside a field is one quote, as spreadsheet programs write it. An empty field
// ends the line: the columns after it are not read. IpByNumber gets the host's
// address (a dotted quad as it is, else the first address the look-up gives,
// else "0.0.0.0").
ImportedLine ParseImportLine(std::string_view line, const ImportColumns& columns, const ImportDefaults& defaults,
                           const HostLookup& lookup = ResolveIpv4);

}  // namespace quenderlink
