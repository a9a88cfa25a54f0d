#include "journal/Sqlite.h"

#include <sqlite3.h>

#include <cstring>

namespace quenderlink {

SqliteConnection& SqliteConnection::operator=(SqliteConnection&& other) noexcept {
  if (this != &other) {
    sqlite3_close_v2(db_);
    db_ = other.db_;
    other.db_ = nullptr;
  }
  return *this;
}

SqliteConnection::~SqliteConnection() { sqlite3_close_v2(db_); }

int SqliteConnection::Execute(const char* sql) const { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }

std::string SqliteConnection::ErrorText() const {
  if (db_ == nullptr) return "out of memory";
  std::string text = sqlite3_errmsg(db_);
  const int systemError = sqlite3_system_errno(db_);
  if (systemError != 0) text += std::string(" (") + std::strerror(systemError) + ")";
  return text;
}

SqliteStatement::SqliteStatement(const SqliteConnection& connection, const char* sql) {
  if (sqlite3_prepare_v3(connection.get(), sql, -1, SQLITE_PREPARE_PERSISTENT, &statement_, nullptr) != SQLITE_OK) {
    sqlite3_finalize(statement_);
    statement_ = nullptr;
  }
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(statement_);
    statement_ = other.statement_;
    other.statement_ = nullptr;
  }
  return *this;
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(statement_); }

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t value) {
  sqlite3_bind_int64(statement_, index, value);
  return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::string_view text) {
  sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  return *this;
}

SqliteStatement& SqliteStatement::BindOrNull(int index, std::string_view text) {
  if (text.empty()) {
    sqlite3_bind_null(statement_, index);
    return *this;
  }
  return Bind(index, text);
}

int SqliteStatement::Step() { return sqlite3_step(statement_); }

void SqliteStatement::Reset() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

std::int64_t SqliteStatement::Integer(int column) const { return sqlite3_column_int64(statement_, column); }

bool SqliteStatement::IsNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

std::string SqliteStatement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  if (text == nullptr) return {};
  return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

}  // namespace quenderlink
