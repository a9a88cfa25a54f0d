#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "FuzzInputFile.h"
#include "core/FixedText.h"
#include "core/RuntimeParams.h"
#include "core/Utf8Text.h"
#include "exchange/ImportFile.h"
#include "exchange/ImportLine.h"
#include "exchange/SiteImport.h"

namespace {

using namespace quenderlink;

// Host names are never looked up: the fuzzer must not ask a name server.
std::optional<std::string> NeverResolves(const std::string&) { return std::nullopt; }

}  // namespace

// Reads the input as an import file, then makes each line a site record with
// columns in the usual places and in unusual ones, as the import view would.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::FuzzInputFile input;
  const ImportFileText file = ReadImportFile(input.Hold(data, size));
  if (!file.ok()) return 0;
  const ImportDefaults defaults{9001, 10001};
  for (const ImportColumns columns : {ImportColumns{1, 2, 3}, ImportColumns{3, 0, 1}, ImportColumns{12, 12, 12}}) {
    for (const ImportFileLine& line : file.lines) {
      const auto characters =
          std::count_if(line.text.begin(), line.text.end(), [](char c) { return !IsUtf8Continuation(c); });
      if (static_cast<std::size_t>(characters) > kImportLineLimit) std::abort();
      const SiteRecord record = ParseImportLine(line.text, columns, defaults, NeverResolves).record;
      fuzz::RequireTerminated(record.HostText, record.SiteName, record.IpByNumber);
      const std::uint32_t port = record.DevicePort;
      if (port != defaults.devicePort && (port < kLowestImportPort || port > kHighestImportPort)) std::abort();
    }
  }
  const RuntimeParams params;
  SiteImport import(params);
  (void)import.AddLines(file, {1, 2, 3}, NeverResolves, [](const std::string&) {});
  (void)import.BuildPingRecords();
  (void)ImportSampleText(file);
  return 0;
}
