#pragma once

#include <cstdint>
#include <string>
#include <string_view>
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

// A part larger than this is refused unread: its size comes from the package,
// which may claim anything.
inline constexpr std::uint64_t kLargestTemplatePart = 64u << 20;

// The package's bytes, as read from the template file. A package that is no
// readable workbook is refused with the template load message; a workbook
// without a sheet with "Failed to Get Sheet".
[[nodiscard]] std::variant<TemplateParts, WorkbookFailure> ReadTemplateParts(std::string_view package);

}  // namespace quenderlink
