#include "exchange/TemplateStyles.h"

#include "core/Printf.h"
#include "exchange/PackageXml.h"

namespace quenderlink {
namespace {

unsigned CountChildren(pugi::xml_node list, std::string_view localName) {
  unsigned count = 0;
  for (pugi::xml_node child : list.children())
    if (child.type() == pugi::node_element && LocalName(child) == localName) ++count;
  return count;
}

void SetCount(pugi::xml_node list, unsigned count) {
  pugi::xml_attribute attribute = list.attribute("count");
  if (!attribute) attribute = list.append_attribute("count");
  attribute.set_value(count);
}

void AddValueChild(pugi::xml_node parent, std::string_view localName, const char* attribute, const std::string& value) {
  parent.append_child(NameInPart(parent, localName).c_str()).append_attribute(attribute).set_value(value.c_str());
}

// Index of the new font in the list.
unsigned AddFont(pugi::xml_node fonts, const WorkbookFont& look) {
  const unsigned index = CountChildren(fonts, "font");
  pugi::xml_node font = fonts.append_child(NameInPart(fonts, "font").c_str());
  if (look.bold) font.append_child(NameInPart(fonts, "b").c_str());
  AddValueChild(font, "sz", "val", XmlNumber(look.points));
  AddValueChild(font, "color", "rgb", Printf("FF%06X", PaletteRgb(look.colour)));
  AddValueChild(font, "name", "val", kWorkbookFontName);
  SetCount(fonts, index + 1);
  return index;
}

// Index of the new cell format in the list.
unsigned AddCellFormat(pugi::xml_node cellFormats, unsigned fontIndex, bool hasStyleFormats) {
  const unsigned index = CountChildren(cellFormats, "xf");
  pugi::xml_node format = cellFormats.append_child(NameInPart(cellFormats, "xf").c_str());
  format.append_attribute("numFmtId").set_value(0);
  format.append_attribute("fontId").set_value(fontIndex);
  format.append_attribute("fillId").set_value(0);
  format.append_attribute("borderId").set_value(0);
  if (hasStyleFormats) format.append_attribute("xfId").set_value(0);
  format.append_attribute("applyFont").set_value(1);
  SetCount(cellFormats, index + 1);
  return index;
}

}  // namespace

unsigned TemplateRowStyles::For(WorkbookRowFormat format) const {
  switch (format) {
    case WorkbookRowFormat::Failed: return failed;
    case WorkbookRowFormat::Answered: return answered;
    case WorkbookRowFormat::Never: return never;
  }
  return never;
}

std::optional<TemplateRowStyles> AddRowStyles(pugi::xml_document& styles) {
  const pugi::xml_node sheet = styles.document_element();
  const pugi::xml_node fonts = ChildNamed(sheet, "fonts");
  const pugi::xml_node cellFormats = ChildNamed(sheet, "cellXfs");
  if (LocalName(sheet) != "styleSheet" || !fonts || !cellFormats) return std::nullopt;
  const bool hasStyleFormats = CountChildren(ChildNamed(sheet, "cellStyleXfs"), "xf") > 0;
  const auto add = [&](WorkbookRowFormat format) {
    return AddCellFormat(cellFormats, AddFont(fonts, RowFont(format)), hasStyleFormats);
  };
  return TemplateRowStyles{add(WorkbookRowFormat::Failed), add(WorkbookRowFormat::Answered),
                           add(WorkbookRowFormat::Never)};
}

}  // namespace quenderlink
