#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/SiteTable.h"
#include "exchange/WorkbookPalette.h"

namespace quenderlink {

// What the site workbook holds, decided without any spreadsheet library: both
// writers (a new book and a filled template) put exactly these cells and looks.

inline constexpr std::size_t kWorkbookColumnCount = 15;
inline constexpr double kWorkbookRowHeight = 23;  // points, the header row and every site row
inline constexpr char kWorkbookFontName[] = "Calibri";
inline constexpr char kNewWorkbookSheetName[] = "Detectors";

struct WorkbookColumn {
  std::string_view header;
  double width;  // in characters
};
std::span<const WorkbookColumn, kWorkbookColumnCount> WorkbookColumns();

// A site row's look follows how its last ping went.
enum class WorkbookRowFormat { Failed, Answered, Never };
WorkbookRowFormat RowFormatFor(std::uint8_t lastPing);

struct WorkbookFont {
  double points;
  bool bold;
  PaletteIndex colour;
};
WorkbookFont RowFont(WorkbookRowFormat format);

// The header row (new sheet only): its font, centred, on a solid fill.
struct WorkbookHeaderLook {
  WorkbookFont font;
  PaletteIndex fill;
};
WorkbookHeaderLook HeaderLook();

// Numbers go in as numbers so the sheet can sort and sum them; the rest as texts (UTF-8).
struct WorkbookCell {
  enum class Kind { Number, Text } kind;
  double number = 0;
  std::string text;
};

struct WorkbookRow {
  WorkbookRowFormat format;
  std::array<WorkbookCell, kWorkbookColumnCount> cells;
};

// The row of one site; `count` is its place in the table from 1.
WorkbookRow SiteWorkbookRow(int count, const SiteRecord& site, unsigned railroadCode);
// Every site of the table in table order.
std::vector<WorkbookRow> SiteWorkbookRows(const SiteTable& table, unsigned railroadCode);

}  // namespace quenderlink
