#pragma once
// Inserts rows through cached prepared statements, for building demo data.
// The first failure is kept and every later insert is skipped, so a builder
// can write many rows and test once at the end.
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/value/datetime.h"

struct sqlite3;
struct sqlite3_stmt;

namespace kq::demo {

// Money in cents, stored as yuan.
struct Cents {
  int64_t v = 0;
};

// One value to bind.
class Cell {
 public:
  enum class Kind { Null, Integer, Real, Text };
  Cell(std::nullptr_t) {}                                           // NOLINT
  Cell(int v) : kind_(Kind::Integer), i_(v) {}                      // NOLINT
  Cell(int64_t v) : kind_(Kind::Integer), i_(v) {}                  // NOLINT
  Cell(double v) : kind_(Kind::Real), d_(v) {}                      // NOLINT
  Cell(Cents c) : kind_(Kind::Real), d_(static_cast<double>(c.v) / 100.0) {}  // NOLINT
  Cell(const char* s) : kind_(Kind::Text), s_(s) {}                 // NOLINT
  Cell(std::string s) : kind_(Kind::Text), s_(std::move(s)) {}      // NOLINT
  Cell(std::string_view s) : kind_(Kind::Text), s_(s) {}            // NOLINT
  Cell(char c) : kind_(Kind::Text), s_(1, c) {}                     // NOLINT
  Cell(const DateTime& t) : kind_(Kind::Text), s_(t.to_iso()) {}    // NOLINT

  void bind(sqlite3_stmt* st, int index) const;

 private:
  Kind kind_ = Kind::Null;
  int64_t i_ = 0;
  double d_ = 0;
  std::string s_;
};

struct Field {
  const char* column;
  Cell value;
};

class RowWriter {
 public:
  explicit RowWriter(sqlite3* db) : db_(db) {}
  ~RowWriter();
  RowWriter(const RowWriter&) = delete;
  RowWriter& operator=(const RowWriter&) = delete;

  // INSERT INTO table (columns…) VALUES (…); columns not given keep their defaults.
  void insert(std::string_view table, std::initializer_list<Field> fields) {
    insert(table, fields.begin(), fields.end());
  }
  void insert(std::string_view table, const std::vector<Field>& fields) {
    insert(table, fields.data(), fields.data() + fields.size());
  }
  // Runs one statement without values (DDL-free updates, pragmas).
  void exec(std::string_view sql);
  // Runs one statement with "?" placeholders and their values.
  void execute(std::string_view sql, const std::vector<Cell>& values);

  sqlite3* db() const { return db_; }
  bool ok() const { return !error_; }
  const std::optional<std::string>& error() const { return error_; }
  void fail(std::string message) {
    if (!error_) error_ = std::move(message);
  }

 private:
  void insert(std::string_view table, const Field* begin, const Field* end);

  sqlite3* db_;
  std::map<std::string, sqlite3_stmt*, std::less<>> cache_;  // by SQL text
  std::optional<std::string> error_;
};

}  // namespace kq::demo
