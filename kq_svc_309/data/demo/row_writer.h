#pragma once
// Writes rows through a database connection of any backend (the Transaction's
// seam): each statement is written in the module's Transact-SQL with host
// variables, translated by the connection's dialect once, prepared once and
// run with bound values. The first failure is kept and every later statement
// is skipped, so a builder can write many rows and test once at the end.
#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/backend.h"
#include "platform/value/datetime.h"
#include "platform/value/value.h"

namespace kq::demo {

// Money in cents, stored as yuan.
struct Cents {
  int64_t v = 0;
};

// One value to bind. A double becomes the decimal it spells to 15 significant
// digits, money an exact decimal of two places, a date a date-time.
class Cell {
 public:
  Cell(std::nullptr_t) {}                                         // NOLINT
  Cell(int v) : value_(static_cast<int64_t>(v)) {}                // NOLINT
  Cell(int64_t v) : value_(v) {}                                  // NOLINT
  Cell(double v);                                                 // NOLINT
  Cell(Cents c) : value_(Decimal::from_raw(c.v * (Decimal(1).raw() / 100))) {}  // NOLINT
  Cell(const char* s) : value_(std::string(s)) {}                 // NOLINT
  Cell(std::string s) : value_(std::move(s)) {}                   // NOLINT
  Cell(std::string_view s) : value_(std::string(s)) {}            // NOLINT
  Cell(char c) : value_(std::string(1, c)) {}                     // NOLINT
  Cell(const DateTime& t) : value_(t) {}                          // NOLINT
  Cell(Decimal d) : value_(d) {}                                  // NOLINT
  explicit Cell(Value v) : value_(std::move(v)) {}

  const Value& value() const { return value_; }

 private:
  Value value_;
};

struct Field {
  const char* column;
  Cell value;
};

// A statement prepared for repeated runs with positional values; the values
// go to the host variables :p1, :p2 … of its text in that order.
class PreparedRows {
 public:
  // Binds the values of one run and runs it. Cheap: nothing is translated again.
  void run(const std::vector<Cell>& values);
  void run(std::initializer_list<Cell> values);

 private:
  friend class RowWriter;
  PreparedRows(class RowWriter& w, db::Translation t, std::unique_ptr<db::Statement> st)
      : writer_(w), translation_(std::move(t)), statement_(std::move(st)) {}
  void run(const Cell* begin, const Cell* end);

  class RowWriter& writer_;
  db::Translation translation_;
  std::unique_ptr<db::Statement> statement_;
  std::vector<int> slot_;  // host variable p<n> → value index, per placeholder
};

class RowWriter {
 public:
  explicit RowWriter(db::Connection& connection) : connection_(connection) {}
  RowWriter(const RowWriter&) = delete;
  RowWriter& operator=(const RowWriter&) = delete;

  // INSERT INTO table (columns…) VALUES (…); columns not given keep their defaults.
  void insert(std::string_view table, std::initializer_list<Field> fields) {
    insert(table, fields.begin(), fields.end());
  }
  void insert(std::string_view table, const std::vector<Field>& fields) {
    insert(table, fields.data(), fields.data() + fields.size());
  }
  // Runs one statement whose host variables are :p1, :p2 … with these values.
  void execute(std::string_view tsql, const std::vector<Cell>& values);
  // The statement of `tsql` (host variables :p1, :p2 …), translated and
  // prepared once and cached for the writer's life; null after a failure.
  PreparedRows* prepare(std::string_view tsql);
  // Runs backend SQL without values (the backend's own maintenance statements).
  void exec_native(std::string_view sql);

  db::Connection& connection() const { return connection_; }
  bool ok() const { return !error_; }
  const std::optional<std::string>& error() const { return error_; }
  void fail(std::string message) {
    if (!error_) error_ = std::move(message);
  }

 private:
  void insert(std::string_view table, const Field* begin, const Field* end);

  db::Connection& connection_;
  std::map<std::string, std::unique_ptr<PreparedRows>, std::less<>> cache_;  // by Transact-SQL text
  std::optional<std::string> error_;
};

}  // namespace kq::demo
