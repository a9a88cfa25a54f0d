#include <zip.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "FuzzInputFile.h"
#include "core/FixedText.h"
#include "core/RegularFile.h"
#include "core/SiteTable.h"
#include "exchange/SiteWorkbookRows.h"
#include "exchange/TemplateParts.h"
#include "exchange/TemplateSiteWorkbook.h"
#include "support/TempDir.h"

namespace {

using namespace quenderlink;

// The parts a workbook package is read through, in the order a parts input gives them.
constexpr std::array<const char*, 5> kPartNames = {"_rels/.rels", "xl/workbook.xml", "xl/_rels/workbook.xml.rels",
                                                   "xl/worksheets/sheet1.xml", "xl/styles.xml"};
// An input starting so is the XML of those parts, separated by NUL bytes;
// any other input is the template file itself.
constexpr std::string_view kPartsMark = "#parts\n";

// The parts packed stored (not compressed), so the fuzzer's changes to the XML
// reach the XML reader instead of failing the package's checksums.
void PackParts(std::string_view parts, const std::filesystem::path& file) {
  int error = 0;
  zip_t* archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (archive == nullptr) std::abort();
  for (const char* name : kPartNames) {
    const std::string_view part = parts.substr(0, parts.find('\0'));
    parts.remove_prefix(std::min(parts.size(), part.size() + 1));
    zip_source_t* source = zip_source_buffer(archive, part.data(), part.size(), 0);
    const zip_int64_t index = zip_file_add(archive, name, source, ZIP_FL_OVERWRITE);
    if (index < 0 || zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0) != 0)
      std::abort();
  }
  if (zip_close(archive) != 0) std::abort();
}

std::vector<WorkbookRow> FewRows() {
  SiteTable table;
  std::vector<SiteRecord> records(3, NewSiteRecord(9001));
  SetFieldText(records[0].SiteName, " Oak Creek ");
  SetFieldText(records[1].SiteName, "MP 12.5 <&>");
  records[1].LastPing = 1;
  table.Replace(std::move(records));
  return SiteWorkbookRows(table, 0);
}

}  // namespace

// Fills the input as the workbook template: it must be refused with a message or written.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const testing::TempDir folder;
  static const fuzz::FuzzInputFile input;
  static const std::vector<WorkbookRow> rows = FewRows();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::filesystem::path templateFile;
  if (bytes.starts_with(kPartsMark)) {
    templateFile = folder / "template.xlsx";
    PackParts(bytes.substr(kPartsMark.size()), templateFile);
  } else {
    templateFile = input.Hold(data, size);
  }
  const std::filesystem::path output = folder / "sites.xlsx";
  const std::optional<WorkbookFailure> failure = WriteTemplateSiteWorkbook(templateFile, rows, output);
  if (failure) {
    if (failure->text.empty()) std::abort();
    return 0;
  }
  // What was written is a workbook the next export can take as its template.
  const RegularFileBytes written = ReadRegularFile(output, kLargestTemplateFile);
  if (!written.ok() || !std::holds_alternative<TemplateParts>(ReadTemplateParts(written.bytes))) std::abort();
  return 0;
}
