#pragma once

#include <optional>
#include <pugixml.hpp>

#include "exchange/SiteWorkbookRows.h"

namespace quenderlink {

// The cell format indexes the three row formats got in a template's styles.
struct TemplateRowStyles {
  unsigned failed;
  unsigned answered;
  unsigned never;

  unsigned For(WorkbookRowFormat format) const;
};

// Adds the row formats' fonts and cell formats after the template's own, which
// keep their indexes. None when the part has no font or cell format list.
[[nodiscard]] std::optional<TemplateRowStyles> AddRowStyles(pugi::xml_document& styles);

}  // namespace quenderlink
