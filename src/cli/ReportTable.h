#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quenderlink::cli {

// How the journal's commands print what they read.
enum class ReportFormat { Table, Json, Csv };

// One value as the aligned table shows it and as scripts take it (JSON, and
// the comma-separated rows, where a number is written as JSON writes it and
// none as an empty field).
struct ReportCell {
  std::string text;
  nlohmann::ordered_json value;
};

ReportCell TextCell(std::string text);
ReportCell NumberCell(std::int64_t number);
ReportCell EmptyCell();
// Local time in the table, "2026-12-08T04:12:26Z" for scripts; empty without a time.
ReportCell TimeCell(std::optional<std::int64_t> ms);

struct ReportColumn {
  std::string title;  // the aligned table's header
  std::string key;    // the JSON name and the comma-separated header
};

// Rows of cells under named columns, printed as an aligned table, as a JSON
// array of objects, or as comma-separated UTF-8 lines under a header line.
class ReportTable {
 public:
  explicit ReportTable(std::vector<ReportColumn> columns) : columns_(std::move(columns)) {}
  void AddRow(std::vector<ReportCell> cells) { rows_.push_back(std::move(cells)); }
  void Print(std::ostream& out, ReportFormat format) const;

 private:
  void PrintAligned(std::ostream& out) const;
  void PrintJson(std::ostream& out) const;
  void PrintCsv(std::ostream& out) const;

  std::vector<ReportColumn> columns_;
  std::vector<std::vector<ReportCell>> rows_;
};

}  // namespace quenderlink::cli
