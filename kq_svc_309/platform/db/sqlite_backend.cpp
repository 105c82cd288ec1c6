#include "platform/db/sqlite_backend.h"

#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/db/sqlite_catalog.h"
#include "platform/db/sqlite_lock_wait.h"
#include "platform/db/sqlite_storage.h"

namespace kq::db {
namespace {

namespace fs = std::filesystem;

Error sqlite_error(sqlite3* db, std::string_view what = {}) {
  std::string msg(what);
  if (!msg.empty()) msg += ": ";
  msg += db ? sqlite3_errmsg(db) : "out of memory";
  return make_error(std::move(msg));
}

class SqliteStatement final : public Statement {
 public:
  SqliteStatement(sqlite3* db, sqlite3_stmt* st) : db_(db), st_(st), readonly_(sqlite3_stmt_readonly(st) != 0) {
    int n = sqlite3_column_count(st_);
    names_.reserve(static_cast<size_t>(n));
    infos_.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      const char* name = sqlite3_column_name(st_, i);
      names_.emplace_back(name ? name : "");
      const char* decl = sqlite3_column_decltype(st_, i);
      infos_.push_back(decl ? sqlite::column_info_from_decl(decl) : std::nullopt);
    }
  }
  ~SqliteStatement() override { sqlite3_finalize(st_); }
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  Result<void> bind(int index, const Value& v, const std::optional<ColumnInfo>& target) override;

  Result<bool> step() override {
    if (!started_) {
      total_before_ = sqlite3_total_changes64(db_);
      started_ = true;
    }
    int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) {
      started_ = false;
      // A write through a view changes rows only inside its INSTEAD OF
      // triggers, which sqlite3_changes() does not count: take the rows the
      // triggers changed instead.
      int64_t direct = readonly_ ? 0 : sqlite3_changes64(db_);
      int64_t all = readonly_ ? 0 : sqlite3_total_changes64(db_) - total_before_;
      changes_ = direct != 0 ? direct : all;
      return false;
    }
    started_ = false;
    Error e = sqlite_error(db_);
    sqlite3_reset(st_);
    return e;
  }

  void reset() override {
    started_ = false;
    sqlite3_reset(st_);
    sqlite3_clear_bindings(st_);
  }

  int64_t changes() const override { return changes_; }
  int column_count() const override { return static_cast<int>(names_.size()); }
  std::string_view column_name(int c) const override { return names_[static_cast<size_t>(c)]; }
  std::optional<ColumnInfo> column_info(int c) const override { return infos_[static_cast<size_t>(c)]; }

  void read(int c, Value& into) const override;
  void read_row(std::span<Value> row) const override {
    int n = static_cast<int>(row.size());
    for (int c = 0; c < n; ++c) read(c, row[static_cast<size_t>(c)]);
  }
  std::optional<std::string_view> text_view(int c) const override {
    // A text in a datetime column reads as a DateTime when it is one.
    const auto& info = infos_[static_cast<size_t>(c)];
    if (sqlite3_column_type(st_, c) != SQLITE_TEXT || (info && info->kind == ColumnKind::DateTime)) return std::nullopt;
    auto p = reinterpret_cast<const char*>(sqlite3_column_text(st_, c));
    return std::string_view(p, static_cast<size_t>(sqlite3_column_bytes(st_, c)));
  }

 private:
  sqlite3* db_;
  sqlite3_stmt* st_;
  bool readonly_;
  int64_t changes_ = 0;
  bool started_ = false;
  int64_t total_before_ = 0;
  std::vector<std::string> names_;
  std::vector<std::optional<ColumnInfo>> infos_;
};

Result<void> SqliteStatement::bind(int index, const Value& v, const std::optional<ColumnInfo>& target) {
  const int i = index + 1;
  const bool has_target = target.has_value();
  const ColumnKind kind = has_target ? target->kind : ColumnKind::Text;
  auto bind_text = [&](const std::string& s) {
    return sqlite3_bind_text64(st_, i, s.data(), s.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
  };
  auto bind_decimal = [&](Decimal d) { return sqlite3_bind_double(st_, i, sqlite::decimal_to_real(d)); };
  int rc = SQLITE_OK;
  if (v.is_null()) {
    rc = sqlite3_bind_null(st_, i);
  } else if (v.is_string()) {
    const std::string& s = v.str();
    if (has_target && kind == ColumnKind::DateTime) {
      auto iso = sqlite::datetime_text_for_storage(s);
      if (!iso) return make_error("'" + s + "' is not a date and time");
      rc = bind_text(*iso);
    } else if (has_target && kind == ColumnKind::Decimal) {
      auto d = Decimal::parse(s);
      rc = d ? bind_decimal(d->round(target->scale)) : bind_text(s);
    } else if (has_target && kind == ColumnKind::Integer) {
      auto d = Decimal::parse(s);
      rc = d && d->is_integer() ? sqlite3_bind_int64(st_, i, d->to_int64()) : bind_text(s);
    } else {
      rc = bind_text(s);
    }
  } else if (v.is_long()) {
    rc = sqlite3_bind_int64(st_, i, v.lng());
  } else if (v.is_decimal()) {
    Decimal d = v.dec();
    if (has_target && kind == ColumnKind::Decimal) rc = bind_decimal(d.round(target->scale));
    else if (has_target && kind == ColumnKind::Integer && d.is_integer()) rc = sqlite3_bind_int64(st_, i, d.to_int64());
    else if (has_target && kind == ColumnKind::Text) rc = bind_text(d.to_string());
    else rc = bind_decimal(d);
  } else if (v.is_datetime()) {
    rc = bind_text(v.dt().to_iso());
  } else if (v.is_bool()) {
    rc = sqlite3_bind_int(st_, i, v.boolean() ? 1 : 0);
  } else if (v.is_blob()) {
    const std::string& b = v.blob().bytes;
    // An empty blob stays an empty blob (a null data pointer would bind NULL).
    rc = b.empty() ? sqlite3_bind_zeroblob(st_, i, 0)
                   : sqlite3_bind_blob64(st_, i, b.data(), b.size(), SQLITE_TRANSIENT);
  }
  if (rc != SQLITE_OK) return sqlite_error(db_, "bind");
  return {};
}

void SqliteStatement::read(int c, Value& into) const {
  const auto& info = infos_[static_cast<size_t>(c)];
  switch (sqlite3_column_type(st_, c)) {
    case SQLITE_INTEGER: {
      int64_t n = sqlite3_column_int64(st_, c);
      if (info && info->kind == ColumnKind::Decimal) into = Value(Decimal(static_cast<long long>(n)));
      else into = Value(static_cast<long long>(n));
      return;
    }
    case SQLITE_FLOAT: {
      int scale = info && info->kind == ColumnKind::Decimal ? info->scale : sqlite::kUnknownScale;
      auto d = sqlite::real_to_decimal(sqlite3_column_double(st_, c), scale);
      into = d ? Value(*d) : Value::null(Type::Decimal);
      return;
    }
    case SQLITE_TEXT: {
      auto p = reinterpret_cast<const char*>(sqlite3_column_text(st_, c));
      std::string_view t(p, static_cast<size_t>(sqlite3_column_bytes(st_, c)));
      if (info && info->kind == ColumnKind::DateTime) {
        if (auto d = sqlite::parse_stored_datetime(t)) {
          into = Value(*d);
          return;
        }
      }
      into = Value(t);
      return;
    }
    case SQLITE_BLOB: {
      auto p = static_cast<const char*>(sqlite3_column_blob(st_, c));
      auto n = static_cast<size_t>(sqlite3_column_bytes(st_, c));
      into = Value(Blob{std::string(p ? p : "", n)});
      return;
    }
    default:
      into = info ? Value::null(sqlite::type_of(info->kind)) : Value();
      return;
  }
}

void f_retu_gsh(sqlite3_context* ctx, int, sqlite3_value**) {
  auto* company = static_cast<const std::string*>(sqlite3_user_data(ctx));
  sqlite3_result_text(ctx, company->data(), static_cast<int>(company->size()), SQLITE_TRANSIENT);
}

class SqliteConnection final : public Connection {
 public:
  SqliteConnection(sqlite3* db, std::unique_ptr<Dialect> dialect, std::string company)
      : db_(db),
        dialect_(std::move(dialect)),
        catalog_(std::make_unique<SqliteCatalog>(db)),
        company_(std::make_unique<std::string>(std::move(company))) {}
  ~SqliteConnection() override {
    catalog_.reset();
    LockWait::remove_from(db_);
    // Statements still held elsewhere keep the connection alive until they are finalised.
    sqlite3_close_v2(db_);
  }
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  // Busy timeout, write-ahead log with full sync, f_retu_gsh().
  Result<void> configure(int busy_timeout_ms);

  const Dialect& dialect() const override { return *dialect_; }
  const Catalog& catalog() const override { return *catalog_; }
  void refresh_catalog() override { catalog_->refresh(); }

  Result<std::unique_ptr<Statement>> prepare(std::string_view sql) override {
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &st, &tail);
    if (rc != SQLITE_OK) return sqlite_error(db_);
    if (!st) return make_error("empty statement");
    for (const char* end = sql.data() + sql.size(); tail && tail < end; ++tail) {
      if (*tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n' && *tail != ';') {
        sqlite3_finalize(st);
        return make_error("more than one statement in one text");
      }
    }
    return std::unique_ptr<Statement>(std::make_unique<SqliteStatement>(db_, st));
  }

  Result<void> begin() override { return exec("BEGIN IMMEDIATE"); }
  Result<void> commit() override { return in_transaction() ? exec("COMMIT") : Result<void>(); }
  Result<void> rollback() override { return in_transaction() ? exec("ROLLBACK") : Result<void>(); }
  bool in_transaction() const override { return sqlite3_get_autocommit(db_) == 0; }

  void set_company(std::string company) override { *company_ = std::move(company); }
  int last_error_code() const override { return sqlite3_extended_errcode(db_); }

 private:
  Result<void> exec(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) return sqlite_error(db_);
    return {};
  }

  sqlite3* db_;
  std::unique_ptr<Dialect> dialect_;
  std::unique_ptr<SqliteCatalog> catalog_;
  std::unique_ptr<std::string> company_;  // f_retu_gsh() reads it through a stable address
  std::unique_ptr<LockWait> lock_wait_;   // the busy handler's state, at a stable address
};

Result<void> SqliteConnection::configure(int busy_timeout_ms) {
  sqlite3_extended_result_codes(db_, 1);
  lock_wait_ = std::make_unique<LockWait>(std::chrono::milliseconds(busy_timeout_ms));
  lock_wait_->install(db_);
  const char* path = sqlite3_db_filename(db_, "main");
  const std::string file = "'" + std::string(path && *path ? path : "main") + "'";
  // Write-ahead log: readers neither wait for a writer nor hold one back. The
  // shop file holds the club tables too, so one commit covers both.
  // synchronous=FULL syncs the log at every commit: a committed unit is on
  // disk when commit() returns, also across a power loss.
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db_, "PRAGMA main.journal_mode=WAL", -1, &st, nullptr) != SQLITE_OK)
    return sqlite_error(db_, file);
  int rc = sqlite3_step(st);
  std::string mode = rc == SQLITE_ROW && sqlite3_column_text(st, 0)
                         ? reinterpret_cast<const char*>(sqlite3_column_text(st, 0))
                         : "";
  sqlite3_finalize(st);
  if (rc != SQLITE_ROW) return sqlite_error(db_, file);
  // An in-memory database (tests) keeps its "memory" journal.
  if (mode != "wal" && mode != "memory")
    return make_error(file + ": cannot use write-ahead logging (journal mode " + mode + ")");
  if (sqlite3_exec(db_, "PRAGMA main.synchronous=FULL", nullptr, nullptr, nullptr) != SQLITE_OK)
    return sqlite_error(db_, file);
  if (sqlite3_create_function_v2(db_, "f_retu_gsh", 0, SQLITE_UTF8 | SQLITE_DETERMINISTIC, company_.get(),
                                 f_retu_gsh, nullptr, nullptr, nullptr) != SQLITE_OK)
    return sqlite_error(db_, "f_retu_gsh");
  return {};
}

// An error unless `path` names an existing, non-empty file. Whether it is an
// SQLite database is asked of SQLite itself once it is open: a file of the
// shop must never be opened and closed here beside SQLite, because closing
// any descriptor of a file drops every POSIX lock this process holds on it,
// the other connections' included; another program would then take the
// file for unused and remove its write-ahead log's index under them.
Result<void> check_database_file(const std::string& path, std::string_view what) {
  std::error_code ec;
  if (!fs::exists(path, ec)) return make_error(std::string(what) + " '" + path + "' does not exist");
  if (!fs::is_regular_file(path, ec)) return make_error(std::string(what) + " '" + path + "' is not a file");
  if (fs::file_size(path, ec) == 0 || ec) return make_error(std::string(what) + " '" + path + "' is not an SQLite database");
  return {};
}

}  // namespace

Result<std::unique_ptr<Connection>> open_sqlite_connection(const ConnectOptions& options,
                                                           std::unique_ptr<Dialect> dialect) {
  if (options.database.empty()) return make_error("no database file given");
  if (auto r = check_database_file(options.database, "database file"); !r) return make_error(r.error());

  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(options.database.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    Error e = sqlite_error(db, "open '" + options.database + "'");
    sqlite3_close_v2(db);
    return e;
  }
  // Wait for other workstations' locks from the start: the journal mode is read under a lock.
  sqlite3_busy_timeout(db, options.busy_timeout_ms);
  if (sqlite3_exec(db, "PRAGMA main.schema_version", nullptr, nullptr, nullptr) == SQLITE_NOTADB) {
    sqlite3_close_v2(db);
    return make_error("database file '" + options.database + "' is not an SQLite database");
  }
  if (!dialect) dialect = make_sqlite_dialect();
  auto conn = std::make_unique<SqliteConnection>(db, std::move(dialect), options.company);
  if (auto r = conn->configure(options.busy_timeout_ms); !r) return make_error(r.error());
  return std::unique_ptr<Connection>(std::move(conn));
}

Result<std::unique_ptr<Connection>> adopt_sqlite_connection(sqlite3* db, const ConnectOptions& options,
                                                            std::unique_ptr<Dialect> dialect) {
  if (!db) return make_error("no database connection");
  if (!dialect) dialect = make_sqlite_dialect();
  auto conn = std::make_unique<SqliteConnection>(db, std::move(dialect), options.company);
  if (auto r = conn->configure(options.busy_timeout_ms); !r) return make_error(r.error());
  return std::unique_ptr<Connection>(std::move(conn));
}

}  // namespace kq::db
