#pragma once

#include <pugixml.hpp>
#include <vector>

#include "exchange/SiteWorkbookRows.h"
#include "exchange/TemplateStyles.h"

namespace quenderlink {

// Writes the site rows into the sheet's data below its header row, site r
// (from 1) in spreadsheet row r + 1, over whatever those 15 cells held; the
// template's other rows and cells stay. Texts go in as inline strings so the
// shared strings part is left alone. False when the part is no worksheet.
[[nodiscard]] bool FillSheetRows(pugi::xml_document& sheet, const std::vector<WorkbookRow>& rows,
                                 const TemplateRowStyles& styles);

}  // namespace quenderlink
