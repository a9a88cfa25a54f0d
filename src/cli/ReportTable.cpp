#include "cli/ReportTable.h"

#include <algorithm>

#include "core/CsvField.h"
#include "core/Utf8Text.h"
#include "journal/JournalTime.h"

namespace quenderlink::cli {
namespace {

std::size_t CharacterCount(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return !IsUtf8Continuation(c); }));
}

}  // namespace

ReportCell TextCell(std::string text) {
  nlohmann::ordered_json value = text;
  return {std::move(text), std::move(value)};
}

ReportCell NumberCell(std::int64_t number) { return {std::to_string(number), number}; }

ReportCell EmptyCell() { return {{}, nullptr}; }

ReportCell TimeCell(std::optional<std::int64_t> ms) {
  if (!ms) return EmptyCell();
  return {LocalTimeText(*ms), UtcTimeText(*ms)};
}

void ReportTable::Print(std::ostream& out, ReportFormat format) const {
  switch (format) {
    case ReportFormat::Table: return PrintAligned(out);
    case ReportFormat::Json: return PrintJson(out);
    case ReportFormat::Csv: return PrintCsv(out);
  }
}

void ReportTable::PrintAligned(std::ostream& out) const {
  std::vector<std::size_t> widths;
  for (const ReportColumn& column : columns_) widths.push_back(CharacterCount(column.title));
  for (const auto& row : rows_)
    for (std::size_t column = 0; column < row.size() && column < widths.size(); ++column)
      widths[column] = std::max(widths[column], CharacterCount(row[column].text));
  const auto printLine = [&](const auto& textOf) {
    std::string line;
    for (std::size_t column = 0; column < columns_.size(); ++column) {
      if (column > 0) line += "  ";
      line += PaddedToWidth(textOf(column), widths[column]);
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << '\n';
  };
  printLine([&](std::size_t column) { return columns_[column].title; });
  for (const auto& row : rows_)
    printLine([&](std::size_t column) { return column < row.size() ? row[column].text : std::string(); });
}

void ReportTable::PrintJson(std::ostream& out) const {
  nlohmann::ordered_json rows = nlohmann::ordered_json::array();
  for (const auto& row : rows_) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (std::size_t column = 0; column < columns_.size() && column < row.size(); ++column)
      object[columns_[column].key] = row[column].value;
    rows.push_back(std::move(object));
  }
  out << rows.dump() << '\n';
}

void ReportTable::PrintCsv(std::ostream& out) const {
  const auto printLine = [&](const auto& textOf) {
    for (std::size_t column = 0; column < columns_.size(); ++column)
      out << (column > 0 ? "," : "") << CsvField(textOf(column));
    out << '\n';
  };
  printLine([&](std::size_t column) { return columns_[column].key; });
  for (const auto& row : rows_)
    printLine([&](std::size_t column) -> std::string {
      if (column >= row.size() || row[column].value.is_null()) return {};
      const nlohmann::ordered_json& value = row[column].value;
      return value.is_string() ? value.get<std::string>() : value.dump();
    });
}

}  // namespace quenderlink::cli
