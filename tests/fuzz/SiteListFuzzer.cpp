#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/CSiteinfoClass.h"
#include "core/RuntimeParams.h"
#include "core/SiteListLoader.h"
#include "exchange/SiteWorkbookRows.h"
#include "FuzzInputFile.h"
#include "shell/SiteCellText.h"
#include "shell/SiteListColumns.h"

// Loads the input as a site list file, then shows every record as the main list
// and the workbook export would: text fields without their NUL must not be read past.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quenderlink;
  constexpr std::uint16_t kTelnetPortTrk1 = 10001;
  static const fuzz::FuzzInputFile file;
  SiteTable table;
  const int code = LoadSiteTable(file.Hold(data, size), table, kTelnetPortTrk1);
  if (code != 0) {
    if (table.size() != 0) std::abort();
    return 0;
  }
  if (table.size() != (size - kSiteFileHeaderSize) / kSiteRecordSize) std::abort();
  const RuntimeParams params;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const SiteRecord& site = table[i];
    const std::uint16_t row = site.RowNumber;
    const std::uint16_t telnetPort = site.TelnetPort;
    if (row != static_cast<std::uint16_t>(i + 1) || telnetPort == 0) std::abort();
    for (int column = 0; column < kSiteColumnCount; ++column) (void)SiteCellText(site, column, params);
  }
  for (const unsigned railroad : {0u, 2u, 3u, 5u}) (void)SiteWorkbookRows(table, railroad);
  return 0;
}
