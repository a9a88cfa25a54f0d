#pragma once

#include <string>

namespace quenderlink {

// Why a site workbook was not made. A refusal's text is the whole message the
// user is told; a failed write's text is the reason, told with the output's path.
struct WorkbookFailure {
  enum class Kind { Refused, WriteFailed } kind;
  std::string text;
};

inline constexpr char kTemplateLoadFailedText[] = "ERROR:\r\nFailed to load Excel Template File";
inline constexpr char kNoSheetText[] = "Failed to Get Sheet";
inline constexpr char kNoBookText[] = "Failed to allocate BOOK";

}  // namespace quenderlink
