#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "journal/Sqlite.h"

namespace quenderlink::testing {

// The journal's rows as text, one line a row, for comparing whole tables.
inline std::vector<std::string> JournalRows(const std::filesystem::path& file, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  SqliteConnection connection(db);
  SqliteStatement statement(connection, sql);
  std::vector<std::string> rows;
  if (!statement) return {"cannot read: " + connection.ErrorText()};
  while (statement.Step() == SQLITE_ROW) {
    std::string row;
    for (int column = 0; column < sqlite3_column_count(sqlite3_next_stmt(db, nullptr)); ++column) {
      if (column > 0) row += "|";
      row += statement.IsNull(column) ? "-" : statement.Text(column);
    }
    rows.push_back(row);
  }
  return rows;
}

inline std::int64_t JournalCount(const std::filesystem::path& file, const char* sql) {
  const std::vector<std::string> rows = JournalRows(file, sql);
  return rows.size() == 1 ? std::stoll(rows[0]) : -1;
}

}  // namespace quenderlink::testing
