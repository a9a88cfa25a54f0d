#pragma once

#include <filesystem>
#include <string>
#include <variant>

#include "exchange/WorkbookFailure.h"

namespace quenderlink {

// The two parts of a template workbook that the site rows change, as found
// through the package's relationships, with their XML.
struct TemplateParts {
  std::string sheetName;  // the first sheet's part in the package
  std::string sheetXml;
  std::string stylesName;
  std::string stylesXml;
};

// A package that is no readable workbook is refused with the template load
// message; a workbook without a sheet with "Failed to Get Sheet".
[[nodiscard]] std::variant<TemplateParts, WorkbookFailure> ReadTemplateParts(const std::filesystem::path& file);

}  // namespace quenderlink
