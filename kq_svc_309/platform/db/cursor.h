#pragma once
// A cursor over the rows of one query, for data window retrieval: opened by
// Transaction::open_cursor with the query's Transact-SQL text and its
// retrieval arguments, then stepped row by row.
//
//   auto cur = sqlca.open_cursor("select cwtsbh, nhjje from svcb20c where cgsh = :ls_gsh",
//                                {{"ls_gsh", gs_gsh}});
//   if (!cur) { /* cur.error(), sqlca.sqlerrtext */ }
//   std::vector<Value> row(cur->column_count());
//   while (cur->next()) cur->read_row(row);
//   if (!cur->ok()) { /* cur->error() */ }
//
// A cursor holds the query's read snapshot (and, outside a transaction, no
// lock beyond it) until it reaches the end, fails or is closed. Column values
// follow the backend's storage conventions: a decimal column gives Decimal
// rounded to its scale, a datetime column DateTime, an integer column a long.
// Reading a row allocates nothing beyond the values themselves.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/dialect/catalog.h"
#include "platform/value/value.h"

namespace kq::db {

struct CachedStatement;
class Statement;

class Cursor {
 public:
  Cursor() = default;
  Cursor(Cursor&& other) noexcept;
  Cursor& operator=(Cursor&& other) noexcept;
  Cursor(const Cursor&) = delete;
  Cursor& operator=(const Cursor&) = delete;
  ~Cursor() { close(); }

  // Moves to the next row: true when there is one; false at the end, after
  // an error (see ok()) and on a closed cursor. The end closes the cursor.
  bool next();
  // False after an error; error() tells it.
  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  // Rows returned by next() so far.
  int64_t row_count() const { return rows_; }

  // The result columns, numbered from 0; valid while the cursor is open or
  // after it reached the end.
  int column_count() const { return static_cast<int>(names_.size()); }
  std::string_view column_name(int column) const { return names_[static_cast<size_t>(column)]; }
  // Declared kind and scale of a column that is a plain table or view column;
  // nullopt for an expression.
  std::optional<ColumnInfo> column_info(int column) const { return infos_[static_cast<size_t>(column)]; }

  // Values of the current row (precondition: next() returned true).
  Value value(int column) const;
  void read(int column, Value& into) const;
  // Every column; row.size() must be column_count().
  void read_row(std::span<Value> row) const;
  // The text of a column as read() would give it, without copying it, when
  // the item is a text the backend holds as such; nullopt otherwise (read()
  // then). Valid until the next next().
  std::optional<std::string_view> text_view(int column) const;

  // Ends the query and releases its snapshot; the cursor can no longer step.
  void close();

 private:
  friend class Transaction;
  explicit Cursor(std::shared_ptr<CachedStatement> statement);

  std::shared_ptr<CachedStatement> cached_;
  Statement* stmt_ = nullptr;  // of cached_, null once closed
  std::vector<std::string> names_;
  std::vector<std::optional<ColumnInfo>> infos_;
  std::string error_;
  int64_t rows_ = 0;
};

}  // namespace kq::db
