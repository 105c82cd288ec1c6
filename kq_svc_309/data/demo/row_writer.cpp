#include "data/demo/row_writer.h"

#include <sqlite3.h>

namespace kq::demo {

void Cell::bind(sqlite3_stmt* st, int index) const {
  switch (kind_) {
    case Kind::Null: sqlite3_bind_null(st, index); break;
    case Kind::Integer: sqlite3_bind_int64(st, index, i_); break;
    case Kind::Real: sqlite3_bind_double(st, index, d_); break;
    case Kind::Text: sqlite3_bind_text(st, index, s_.data(), static_cast<int>(s_.size()), SQLITE_TRANSIENT); break;
  }
}

RowWriter::~RowWriter() {
  for (auto& [sql, st] : cache_) sqlite3_finalize(st);
}

void RowWriter::insert(std::string_view table, const Field* begin, const Field* end) {
  if (error_) return;
  std::string sql = "INSERT INTO ";
  sql += table;
  sql += " (";
  std::string marks;
  for (const Field* f = begin; f != end; ++f) {
    if (!marks.empty()) {
      sql += ", ";
      marks += ", ";
    }
    sql += f->column;
    marks += '?';
  }
  sql += ") VALUES (" + marks + ")";
  auto it = cache_.find(sql);
  if (it == cache_.end()) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
      fail(sql + ": " + sqlite3_errmsg(db_));
      return;
    }
    it = cache_.emplace(sql, st).first;
  }
  sqlite3_stmt* st = it->second;
  int i = 1;
  for (const Field* f = begin; f != end; ++f) f->value.bind(st, i++);
  if (sqlite3_step(st) != SQLITE_DONE) fail(sql + ": " + sqlite3_errmsg(db_));
  sqlite3_reset(st);
  sqlite3_clear_bindings(st);
}

void RowWriter::execute(std::string_view sql, const std::vector<Cell>& values) {
  if (error_) return;
  auto it = cache_.find(sql);
  if (it == cache_.end()) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, std::string(sql).c_str(), -1, &st, nullptr) != SQLITE_OK) {
      fail(std::string(sql) + ": " + sqlite3_errmsg(db_));
      return;
    }
    it = cache_.emplace(std::string(sql), st).first;
  }
  sqlite3_stmt* st = it->second;
  for (size_t i = 0; i < values.size(); ++i) values[i].bind(st, static_cast<int>(i) + 1);
  int rc = sqlite3_step(st);
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) fail(std::string(sql) + ": " + sqlite3_errmsg(db_));
  sqlite3_reset(st);
  sqlite3_clear_bindings(st);
}

void RowWriter::exec(std::string_view sql) {
  if (error_) return;
  std::string text(sql);
  char* err = nullptr;
  if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
    fail(text + ": " + (err != nullptr ? err : sqlite3_errmsg(db_)));
    sqlite3_free(err);
  }
}

}  // namespace kq::demo
