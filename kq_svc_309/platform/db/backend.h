#pragma once
// The seam between Transaction and a database engine. A backend supplies a
// Connection (with its dialect and catalog) and prepared Statements; the
// Transaction does everything else (host variables, sqlcode, caching, the
// begin-on-first-write rule, faults). Two ship: "sqlite", the embedded
// default, and "postgresql" (pg_backend.h). Another backend implements these
// two classes and registers a name in open_connection() (backend.cpp). No
// caller of Transaction changes.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/db/dialect/catalog.h"
#include "platform/db/dialect/dialect.h"
#include "platform/result.h"
#include "platform/value/value.h"

namespace kq::db {

struct ConnectOptions {
  // "sqlite" (the default) or "postgresql".
  std::string backend = "sqlite";
  // postgresql: the server, as libpq takes it: a URI
  // ("postgresql://host:5432/shop?sslmode=verify-full"), a conninfo string
  // ("host=db1 dbname=shop"), or "service=name" (pg_service.conf); empty uses
  // the PG* environment variables alone. Keep passwords out of it (use
  // ~/.pgpass or PGPASSFILE): the text may show up in a process list.
  std::string server;
  // sqlite: path of the shop database file, which holds the club tables too.
  // It must exist and be an SQLite database; nothing is created.
  std::string database;
  // The company code that the SQL function f_retu_gsh() returns.
  std::string company;
  // How long a statement waits for a lock held by another connection before
  // it fails with "database is locked".
  int busy_timeout_ms = 10000;
};

// One prepared statement of a Connection. Parameters are numbered from 0 in
// the order of the translation's Parameter list; columns from 0.
class Statement {
 public:
  virtual ~Statement() = default;

  // Binds parameter `index`. `target` is the column the value goes into or is
  // compared with, when the dialect knows it; the backend stores the value by
  // its conventions for that column. An error when the value cannot be stored
  // there (a text that is no date into a datetime column).
  virtual Result<void> bind(int index, const Value& value, const std::optional<ColumnInfo>& target) = 0;
  // Runs to the next row: true when a row is there, false when the statement is done.
  virtual Result<bool> step() = 0;
  // Ends the current run (releases its locks and read snapshot) and drops the
  // bound values; the statement may be bound and run again.
  virtual void reset() = 0;

  // Rows inserted, updated or deleted by the last completed run.
  virtual int64_t changes() const = 0;

  virtual int column_count() const = 0;
  virtual std::string_view column_name(int column) const = 0;
  // The declared kind of a result column that is a plain table or view column;
  // nullopt for an expression.
  virtual std::optional<ColumnInfo> column_info(int column) const = 0;
  // The value of a column of the current row, converted by the backend's
  // storage conventions (a decimal column gives a Decimal, a datetime column a DateTime).
  virtual void read(int column, Value& into) const = 0;
  // All columns of the current row; row.size() must be column_count().
  virtual void read_row(std::span<Value> row) const = 0;
  // The text of a column of the current row, without copying it, when read()
  // would give exactly this text; nullopt otherwise (a null, a number, a
  // date, or a backend that has no view). Valid until the next step or reset.
  virtual std::optional<std::string_view> text_view(int column) const {
    (void)column;
    return std::nullopt;
  }
};

class Connection {
 public:
  virtual ~Connection() = default;

  virtual const Dialect& dialect() const = 0;
  virtual const Catalog& catalog() const = 0;
  // Forgets what the catalog has read (after the schema changed).
  virtual void refresh_catalog() = 0;

  // Prepares backend SQL (a dialect's translation).
  virtual Result<std::unique_ptr<Statement>> prepare(std::string_view sql) = 0;

  // Opens a write transaction that holds the write lock until commit or
  // rollback; precondition: none is open.
  virtual Result<void> begin() = 0;
  // Ends the open transaction; no effect when none is open.
  virtual Result<void> commit() = 0;
  virtual Result<void> rollback() = 0;
  // True while a transaction is open (the engine may end one by itself after
  // some errors; this tells the truth).
  virtual bool in_transaction() const = 0;

  // The company code that f_retu_gsh() returns from now on.
  virtual void set_company(std::string company) = 0;
  // The engine's code of the last error (for sqldbcode), 0 when none.
  virtual int last_error_code() const = 0;
};

// Opens a connection to the backend named in `options`.
Result<std::unique_ptr<Connection>> open_connection(const ConnectOptions& options);

}  // namespace kq::db
