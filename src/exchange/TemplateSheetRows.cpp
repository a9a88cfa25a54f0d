#include "exchange/TemplateSheetRows.h"

#include <algorithm>
#include <string>

#include "exchange/CellReference.h"
#include "exchange/PackageXml.h"

namespace quenderlink {
namespace {

// The child element with this number, made in its place among its numbered
// siblings when missing; a sibling without a number is the one after the last.
template <typename NumberOf>
pugi::xml_node FindOrInsertNumbered(pugi::xml_node parent, std::string_view localName, unsigned wanted,
                                    NumberOf numberOf) {
  unsigned number = 0;
  pugi::xml_node last;
  for (pugi::xml_node child : parent.children()) {
    if (child.type() != pugi::node_element || LocalName(child) != localName) continue;
    number = numberOf(child).value_or(number + 1);
    if (number == wanted) return child;
    if (number > wanted) return parent.insert_child_before(NameInPart(parent, localName).c_str(), child);
    last = child;
  }
  return last ? parent.insert_child_after(NameInPart(parent, localName).c_str(), last)
              : parent.append_child(NameInPart(parent, localName).c_str());
}

std::optional<unsigned> RowNumberOf(pugi::xml_node row) {
  const pugi::xml_attribute number = row.attribute("r");
  if (!number) return std::nullopt;
  return number.as_uint();
}

std::optional<unsigned> ColumnNumberOf(pugi::xml_node cell) {
  const std::optional<CellReference> reference = ParseCellReference(cell.attribute("r").value());
  if (!reference) return std::nullopt;
  return reference->column + 1;
}

void SetAttribute(pugi::xml_node node, const char* name, const std::string& value) {
  pugi::xml_attribute attribute = node.attribute(name);
  if (!attribute) attribute = node.append_attribute(name);
  attribute.set_value(value.c_str());
}

void WriteCell(pugi::xml_node cell, const std::string& reference, const WorkbookCell& content, unsigned style) {
  cell.remove_children();
  cell.remove_attributes();
  SetAttribute(cell, "r", reference);
  SetAttribute(cell, "s", std::to_string(style));
  switch (content.kind) {
    case WorkbookCell::Kind::Number:
      cell.append_child(NameInPart(cell, "v").c_str()).text().set(XmlNumber(content.number).c_str());
      break;
    case WorkbookCell::Kind::Text: {
      // An empty text leaves the cell blank with its format, as the new sheet has it.
      if (content.text.empty()) break;
      SetAttribute(cell, "t", "inlineStr");
      pugi::xml_node text =
          cell.append_child(NameInPart(cell, "is").c_str()).append_child(NameInPart(cell, "t").c_str());
      if (content.text.front() == ' ' || content.text.back() == ' ') SetAttribute(text, "xml:space", "preserve");
      text.text().set(content.text.c_str());
      break;
    }
  }
}

void WriteRow(pugi::xml_node sheetData, unsigned rowNumber, const WorkbookRow& row, const TemplateRowStyles& styles) {
  pugi::xml_node rowNode = FindOrInsertNumbered(sheetData, "row", rowNumber, RowNumberOf);
  // The cell span hint would no longer be true.
  rowNode.remove_attribute("spans");
  SetAttribute(rowNode, "r", std::to_string(rowNumber));
  // Every site row carries the failed format as its row format, as the workbooks always have.
  SetAttribute(rowNode, "s", std::to_string(styles.failed));
  SetAttribute(rowNode, "customFormat", "1");
  SetAttribute(rowNode, "ht", XmlNumber(kWorkbookRowHeight));
  SetAttribute(rowNode, "customHeight", "1");
  for (unsigned column = 0; column < row.cells.size(); ++column) {
    pugi::xml_node cell = FindOrInsertNumbered(rowNode, "c", column + 1, ColumnNumberOf);
    WriteCell(cell, CellReferenceText({column, rowNumber - 1}), row.cells[column], styles.For(row.format));
  }
}

// The used range grows to take the site rows in; a sheet without one gets none.
void WidenDimension(pugi::xml_node worksheet, std::size_t siteCount) {
  pugi::xml_attribute range = ChildNamed(worksheet, "dimension").attribute("ref");
  if (!range || siteCount == 0) return;
  const std::string_view text = range.value();
  const std::optional<CellReference> last = ParseCellReference(text.substr(text.find(':') + 1));
  CellReference end{static_cast<unsigned>(kWorkbookColumnCount - 1), static_cast<unsigned>(siteCount)};
  if (last) end = {std::max(last->column, end.column), std::max(last->row, end.row)};
  range.set_value(("A1:" + CellReferenceText(end)).c_str());
}

}  // namespace

bool FillSheetRows(pugi::xml_document& sheet, const std::vector<WorkbookRow>& rows, const TemplateRowStyles& styles) {
  const pugi::xml_node worksheet = sheet.document_element();
  const pugi::xml_node sheetData = ChildNamed(worksheet, "sheetData");
  if (LocalName(worksheet) != "worksheet" || !sheetData) return false;
  for (std::size_t r = 0; r < rows.size(); ++r) WriteRow(sheetData, static_cast<unsigned>(r + 2), rows[r], styles);
  WidenDimension(worksheet, rows.size());
  return true;
}

}  // namespace quenderlink
