#include "exchange/SiteWorkbookExport.h"

#include <unistd.h>

#include <system_error>

#include "core/ErrorMessages.h"
#include "core/Printf.h"
#include "core/RegularFile.h"
#include "exchange/NewSiteWorkbook.h"
#include "exchange/TemplateSiteWorkbook.h"

namespace quenderlink {
namespace {

// Hidden and beside the output, so the rename never crosses file systems.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& output) {
  std::filesystem::path temporary = output;
  temporary.replace_filename(Printf(".%s.%d.tmp", output.filename().c_str(), static_cast<int>(::getpid())));
  return temporary;
}

std::string WriteFailedMessage(const std::filesystem::path& output, const std::string& reason) {
  return WriteFailedText(output.string()) + "\r\n\r\n" + reason;
}

}  // namespace

std::string SiteWorkbookFileName(const std::tm& localTime) {
  return Printf("Quenderlink_Date_%04d%02d%02d_Time_%02d%02d%02d.xlsx", localTime.tm_year + 1900, localTime.tm_mon + 1,
                localTime.tm_mday, localTime.tm_hour, localTime.tm_min, localTime.tm_sec);
}

std::filesystem::path SiteWorkbookTemplatePath(const std::filesystem::path& programFolder) {
  return programFolder / "ExcelTemplateDetectors_V97.xlsx";
}

std::optional<std::filesystem::path> HomeSiteWorkbookTemplate(const std::filesystem::path& programFolder) {
  std::filesystem::path file = SiteWorkbookTemplatePath(programFolder);
  if (!RegularFile::Open(file).ok()) return std::nullopt;
  return file;
}

Result WriteSiteWorkbook(const SiteWorkbookRequest& request) {
  const std::vector<WorkbookRow> rows = SiteWorkbookRows(request.sites, request.railroadCode);
  const std::filesystem::path temporary = TemporaryPathFor(request.output);
  const std::optional<WorkbookFailure> failure = request.templateFile
                                                     ? WriteTemplateSiteWorkbook(*request.templateFile, rows, temporary)
                                                     : WriteNewSiteWorkbook(rows, temporary);
  std::error_code error;
  if (!failure) std::filesystem::rename(temporary, request.output, error);
  if (!failure && !error) return {};
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
  if (!failure) return Failure{WriteFailedMessage(request.output, error.message())};
  switch (failure->kind) {
    case WorkbookFailure::Kind::Refused: return Failure{failure->text};
    case WorkbookFailure::Kind::WriteFailed: return Failure{WriteFailedMessage(request.output, failure->text)};
  }
  return Failure{failure->text};
}

void ExportSiteWorkbook(const ProgramState& state, UserPrompts& prompts, DesktopActions& desktop) {
  const std::time_t now = std::time(nullptr);
  std::tm localTime{};
  ::localtime_r(&now, &localTime);
  const std::filesystem::path output = state.programFolder / SiteWorkbookFileName(localTime);
  const Result written = WriteSiteWorkbook(
      {state.sites, state.params.railroadCode, output, HomeSiteWorkbookTemplate(state.programFolder)});
  if (!written)
    prompts.ShowMessage(written.reason());
  else
    ShowAndOpenSavedFile(output, prompts, desktop);
}

}  // namespace quenderlink
