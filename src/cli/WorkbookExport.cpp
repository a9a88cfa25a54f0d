#include "cli/WorkbookExport.h"

#include <ctime>
#include <filesystem>
#include <iostream>

#include "cli/CommandContext.h"
#include "exchange/SiteWorkbookExport.h"

namespace quenderlink::cli {
namespace {

std::filesystem::path DefaultOutput(const std::filesystem::path& home) {
  const std::time_t now = std::time(nullptr);
  std::tm localTime{};
  ::localtime_r(&now, &localTime);
  return home / SiteWorkbookFileName(localTime);
}

}  // namespace

int ExportWorkbook(const ProgramState& state, const std::optional<std::string>& out,
                   const std::optional<std::string>& templateFile) {
  if (templateFile && !std::filesystem::is_regular_file(*templateFile))
    return BadInput(*templateFile + ": no such template file");
  const std::optional<std::filesystem::path> from = templateFile ? std::optional<std::filesystem::path>(*templateFile)
                                                                 : HomeSiteWorkbookTemplate(state.programFolder);
  const std::filesystem::path output = out ? std::filesystem::path(*out) : DefaultOutput(state.programFolder);
  const Result written = WriteSiteWorkbook({state.sites, state.params.railroadCode, output, from});
  if (!written) return Failed(written.reason());
  std::cout << output.string() << '\n';
  return kExitOk;
}

}  // namespace quenderlink::cli
