#include "exchange/TemplateSiteWorkbook.h"

#include <zip.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>

#include "core/RegularFile.h"
#include "exchange/PackageXml.h"
#include "exchange/TemplateParts.h"
#include "exchange/TemplateSheetRows.h"
#include "exchange/TemplateStyles.h"

namespace quenderlink {
namespace {

WorkbookFailure WriteFailed(std::string reason) { return {WorkbookFailure::Kind::WriteFailed, std::move(reason)}; }

// Replaces one entry's contents; the text must live until the archive is closed.
bool ReplaceEntry(zip_t* archive, const std::string& name, const std::string& text) {
  const zip_int64_t index = zip_name_locate(archive, name.c_str(), 0);
  zip_source_t* source = zip_source_buffer(archive, text.data(), text.size(), 0);
  if (index < 0 || source == nullptr) {
    if (source != nullptr) zip_source_free(source);
    return false;
  }
  if (zip_file_replace(archive, static_cast<zip_uint64_t>(index), source, ZIP_FL_ENC_UTF_8) == 0) return true;
  zip_source_free(source);
  return false;
}

// The template's bytes as they were read, so what is written is what was checked.
std::optional<WorkbookFailure> CopyPackage(std::string_view package, const std::filesystem::path& file) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (out.write(package.data(), static_cast<std::streamsize>(package.size())) && out.flush()) return std::nullopt;
  return WriteFailed(std::strerror(errno));
}

// Unchanged entries are copied by the library as they are, compressed data included.
std::optional<WorkbookFailure> WritePackage(std::string_view package, const std::filesystem::path& file,
                                            const TemplateParts& parts, const std::string& sheetXml,
                                            const std::string& stylesXml) {
  if (std::optional<WorkbookFailure> failure = CopyPackage(package, file)) return failure;
  int openError = 0;
  zip_t* archive = zip_open(file.c_str(), 0, &openError);
  if (archive == nullptr) {
    zip_error_t error;
    zip_error_init_with_code(&error, openError);
    WorkbookFailure failure = WriteFailed(zip_error_strerror(&error));
    zip_error_fini(&error);
    return failure;
  }
  if (ReplaceEntry(archive, parts.sheetName, sheetXml) && ReplaceEntry(archive, parts.stylesName, stylesXml) &&
      zip_close(archive) == 0)
    return std::nullopt;
  WorkbookFailure failure = WriteFailed(zip_error_strerror(zip_get_error(archive)));
  zip_discard(archive);
  return failure;
}

}  // namespace

std::optional<WorkbookFailure> WriteTemplateSiteWorkbook(const std::filesystem::path& templateFile,
                                                         const std::vector<WorkbookRow>& rows,
                                                         const std::filesystem::path& file) {
  const RegularFileBytes package = ReadRegularFile(templateFile, kLargestTemplateFile);
  switch (package.failure) {
    case RegularFileBytes::Failure::None: break;
    case RegularFileBytes::Failure::CannotOpen:
    case RegularFileBytes::Failure::CannotRead:
      return WorkbookFailure{WorkbookFailure::Kind::Refused, kTemplateLoadFailedText};
    case RegularFileBytes::Failure::NotRegular:
    case RegularFileBytes::Failure::TooLarge: return WorkbookFailure{WorkbookFailure::Kind::Refused, package.refusal};
  }
  auto read = ReadTemplateParts(package.bytes);
  if (auto* failure = std::get_if<WorkbookFailure>(&read)) return *failure;
  const TemplateParts& parts = std::get<TemplateParts>(read);

  const WorkbookFailure unreadable{WorkbookFailure::Kind::Refused, kTemplateLoadFailedText};
  pugi::xml_document sheet;
  pugi::xml_document styles;
  if (!ParsePackageXml(sheet, parts.sheetXml) || !ParsePackageXml(styles, parts.stylesXml)) return unreadable;
  const std::optional<TemplateRowStyles> rowStyles = AddRowStyles(styles);
  if (!rowStyles || !FillSheetRows(sheet, rows, *rowStyles)) return unreadable;
  return WritePackage(package.bytes, file, parts, PackageXmlText(sheet), PackageXmlText(styles));
}

}  // namespace quenderlink
