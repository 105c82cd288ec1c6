#include "platform/db/transaction.h"

#include <chrono>
#include <vector>

#include "platform/problem_log.h"
#include "platform/value/text.h"

namespace kq::db {
namespace {

const HostVar* find_var(std::span<const HostVar> vars, std::string_view name) {
  for (const auto& v : vars)
    if (text::iequals(v.name(), name)) return &v;
  return nullptr;
}

// Records a statement in the log (when one is set) and, when it goes out of
// scope, the time the statement took.
class TimedEntry {
 public:
  TimedEntry(StatementLog* log, std::string_view sql, LoggedStatement::Way way, std::span<const HostVar> vars)
      : log_(log) {
    if (!log_) return;
    index_ = log_->record(sql, way, vars);
  }
  ~TimedEntry() {
    if (log_) log_->set_elapsed(index_, std::chrono::steady_clock::now() - log_->statements()[index_].started);
  }
  TimedEntry(const TimedEntry&) = delete;
  TimedEntry& operator=(const TimedEntry&) = delete;

 private:
  StatementLog* log_;
  size_t index_ = 0;
};

bool is_write(StatementKind k) {
  return k != StatementKind::Select && k != StatementKind::SelectBlob && k != StatementKind::Commit &&
         k != StatementKind::Rollback;
}

}  // namespace

Result<void> Transaction::connect(const ConnectOptions& options) {
  auto conn = open_connection(options);
  if (!conn) {
    disconnect();
    start_statement();
    fail(conn.error());
    return make_error(conn.error());
  }
  return connect(std::move(conn.value()));
}

Result<void> Transaction::connect(std::unique_ptr<Connection> connection) {
  disconnect();
  start_statement();
  if (!connection) {
    fail("no connection");
    return make_error(sqlerrtext);
  }
  conn_ = std::move(connection);
  alive_ = std::make_shared<bool>(true);
  return {};
}

void Transaction::disconnect() {
  if (!conn_) return;
  if (conn_->in_transaction()) (void)conn_->rollback();
  *alive_ = false;
  cache_.clear();
  conn_.reset();
  alive_.reset();
  unit_open_ = false;
  aborted_ = false;
}

void Transaction::set_company(std::string company) {
  if (conn_) conn_->set_company(std::move(company));
}

bool Transaction::in_transaction() const { return conn_ && conn_->in_transaction(); }

void Transaction::clear_cache() {
  cache_.clear();
  if (conn_) conn_->refresh_catalog();
}

void Transaction::start_statement() {
  sqlcode = 0;
  sqlerrtext.clear();
  sqlnrows = 0;
  sqldbcode = 0;
}

int Transaction::fail(std::string text, bool from_engine) {
  sqlcode = -1;
  sqlerrtext = std::move(text);
  sqlnrows = 0;
  sqldbcode = from_engine && conn_ ? conn_->last_error_code() : 0;
  // What the database refused (a lock held elsewhere, a full disk, a file
  // that cannot be written) goes to the log with the statement: the window
  // shows its own message only.
  if (from_engine)
    log_problem("database error " + std::to_string(sqldbcode) + " (" + sqlerrtext + ") in: " + statement_);
  return sqlcode;
}

void Transaction::check_unit() {
  // The unit is ended only by end_unit(); gone otherwise means the engine ended it.
  if (unit_open_ && conn_ && !conn_->in_transaction()) {
    unit_open_ = false;
    aborted_ = true;
  }
}

std::shared_ptr<CachedStatement> Transaction::prepare(std::string_view sql) {
  start_statement();
  statement_ = sql;
  if (auto fault = faults_.on_statement(sql)) {
    fail(std::move(*fault));
    return nullptr;
  }
  if (!conn_) {
    fail("not connected");
    return nullptr;
  }
  auto c = cache_.get(*conn_, sql, alive_);
  if (!c) {
    fail(c.error(), true);
    return nullptr;
  }
  return std::move(c.value());
}

Result<void> Transaction::bind(CachedStatement& c, std::span<const HostVar> vars) {
  const auto& params = c.translation.params;
  for (size_t i = 0; i < params.size(); ++i) {
    const HostVar* v = find_var(vars, params[i].name);
    if (!v) return make_error("host variable :" + params[i].name + " is not given");
    Value current;
    const Value& in = v->is_output() ? (current = v->output()->current()) : v->value();
    auto r = c.statement->bind(static_cast<int>(i), in, params[i].target);
    if (!r) return make_error("host variable :" + params[i].name + ": " + r.error());
  }
  return {};
}

int Transaction::exec(std::string_view sql, std::span<const HostVar> vars) {
  TimedEntry timed(log_, sql, LoggedStatement::Way::Exec, vars);
  auto c = prepare(sql);
  if (!c) return sqlcode;
  const StatementKind kind = c->translation.kind;
  if (kind == StatementKind::Commit) return end_unit(true);
  if (kind == StatementKind::Rollback) return end_unit(false);

  // Every host variable is checked before anything runs.
  for (const auto& name : c->translation.into) {
    const HostVar* v = find_var(vars, name);
    if (!v) return fail("host variable :" + name + " is not given");
    if (!v->is_output()) return fail("host variable :" + name + " after INTO must be given as out()");
  }
  for (const auto& p : c->translation.params)
    if (!find_var(vars, p.name)) return fail("host variable :" + p.name + " is not given");

  if (is_write(kind)) {
    check_unit();
    if (aborted_) return fail("the unit of work was ended by the database after an earlier error; roll back first");
    if (!conn_->in_transaction()) {
      if (auto r = conn_->begin(); !r) return fail(r.error(), true);
      unit_open_ = true;
    }
  }
  if (auto r = bind(*c, vars); !r) {
    c->statement->reset();
    return fail(r.error());
  }
  int rc = is_write(kind) ? run_write(*c) : run_select(*c, vars);
  c->statement->reset();
  return rc;
}

int Transaction::run_select(CachedStatement& c, std::span<const HostVar> vars) {
  Statement& st = *c.statement;
  const auto& into = c.translation.into;
  auto first = st.step();
  if (!first) {
    check_unit();
    return fail(first.error(), true);
  }
  if (!first.value()) {
    sqlcode = 100;
    return sqlcode;
  }
  if (into.empty()) {
    // A query without INTO: it only tells whether rows exist.
    int64_t rows = 1;
    for (;;) {
      auto more = st.step();
      if (!more) {
        check_unit();
        return fail(more.error(), true);
      }
      if (!more.value()) break;
      ++rows;
    }
    sqlnrows = rows;
    return sqlcode;
  }
  if (static_cast<int>(into.size()) > st.column_count())
    return fail("Select gives " + std::to_string(st.column_count()) + " columns for " + std::to_string(into.size()) +
                " host variables");
  // Convert everything first: the variables change only when all of them can.
  std::vector<Value> converted(into.size());
  Value v;
  for (size_t k = 0; k < into.size(); ++k) {
    const Out& target = *find_var(vars, into[k])->output();
    st.read(static_cast<int>(k), v);
    auto cv = target.convert(v);
    if (!cv)
      return fail("cannot convert '" + v.debug_string() + "' to " + type_name(target.type()) + " for :" + into[k]);
    converted[k] = std::move(*cv);
  }
  auto second = st.step();
  if (!second) {
    check_unit();
    return fail(second.error(), true);
  }
  if (second.value()) return fail("Select returned more than one row");
  for (size_t k = 0; k < into.size(); ++k) find_var(vars, into[k])->output()->store(std::move(converted[k]));
  sqlnrows = 1;
  return sqlcode;
}

int Transaction::run_write(CachedStatement& c) {
  Statement& st = *c.statement;
  for (;;) {
    auto r = st.step();
    if (!r) {
      check_unit();
      return fail(r.error(), true);
    }
    if (!r.value()) break;
  }
  sqlnrows = st.changes();
  switch (c.translation.kind) {
    case StatementKind::Insert:
    case StatementKind::Update:
    case StatementKind::Delete:
    case StatementKind::UpdateBlob:
      if (sqlnrows == 0) sqlcode = 100;
      break;
    default:
      break;
  }
  return sqlcode;
}

int Transaction::commit() {
  TimedEntry timed(log_, "commit", LoggedStatement::Way::Commit, {});
  start_statement();
  statement_ = "commit";
  if (auto fault = faults_.on_statement("commit")) return fail(std::move(*fault));
  return end_unit(true);
}

int Transaction::rollback() {
  TimedEntry timed(log_, "rollback", LoggedStatement::Way::Rollback, {});
  start_statement();
  statement_ = "rollback";
  if (auto fault = faults_.on_statement("rollback")) return fail(std::move(*fault));
  return end_unit(false);
}

int Transaction::end_unit(bool commit) {
  if (!conn_) return fail("not connected");
  if (commit) {
    check_unit();
    if (aborted_) return fail("the unit of work was ended by the database after an earlier error; roll back first");
    if (auto r = conn_->commit(); !r) {
      check_unit();
      return fail(r.error(), true);
    }
  } else {
    aborted_ = false;
    if (auto r = conn_->rollback(); !r) {
      int rc = fail(r.error(), true);
      unit_open_ = conn_->in_transaction();
      return rc;
    }
  }
  unit_open_ = false;
  return sqlcode;
}

Result<Cursor> Transaction::open_cursor(std::string_view sql, std::span<const HostVar> args) {
  TimedEntry timed(log_, sql, LoggedStatement::Way::Cursor, args);
  auto c = prepare(sql);
  if (!c) return make_error(sqlerrtext);
  if (!c->statement || is_write(c->translation.kind)) {
    fail("not a query: " + std::string(sql));
    return make_error(sqlerrtext);
  }
  if (!c->translation.into.empty()) {
    fail("a cursor query has no INTO");
    return make_error(sqlerrtext);
  }
  if (auto r = bind(*c, args); !r) {
    c->statement->reset();
    fail(r.error());
    return make_error(sqlerrtext);
  }
  return Cursor(std::move(c));
}

}  // namespace kq::db
