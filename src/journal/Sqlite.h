#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace quenderlink {

// An open SQLite database, closed with its owner.
class SqliteConnection {
 public:
  SqliteConnection() = default;
  explicit SqliteConnection(sqlite3* db) : db_(db) {}
  SqliteConnection(SqliteConnection&& other) noexcept : db_(other.db_) { other.db_ = nullptr; }
  SqliteConnection& operator=(SqliteConnection&& other) noexcept;
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;
  ~SqliteConnection();

  sqlite3* get() const { return db_; }
  explicit operator bool() const { return db_ != nullptr; }
  // Runs statements that return no rows; the SQLite result code.
  int Execute(const char* sql) const;
  // The last error, in SQLite's words, with the system's reason where it has one.
  std::string ErrorText() const;

 private:
  sqlite3* db_ = nullptr;
};

// A prepared statement, its parameters numbered from 1 and its columns from 0.
class SqliteStatement {
 public:
  SqliteStatement() = default;
  SqliteStatement(const SqliteConnection& connection, const char* sql);
  SqliteStatement(SqliteStatement&& other) noexcept : statement_(other.statement_) { other.statement_ = nullptr; }
  SqliteStatement& operator=(SqliteStatement&& other) noexcept;
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;
  ~SqliteStatement();

  explicit operator bool() const { return statement_ != nullptr; }
  SqliteStatement& Bind(int index, std::int64_t value);
  SqliteStatement& Bind(int index, std::string_view text);
  // An empty text binds NULL, for the columns most results leave out.
  SqliteStatement& BindOrNull(int index, std::string_view text);
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step();
  // Ready to run again with new parameters.
  void Reset();

  std::int64_t Integer(int column) const;
  bool IsNull(int column) const;
  std::string Text(int column) const;

 private:
  sqlite3_stmt* statement_ = nullptr;
};

}  // namespace quenderlink
