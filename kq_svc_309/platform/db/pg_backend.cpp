#include "platform/db/pg_backend.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "platform/db/pg_catalog.h"
#include "platform/db/pg_errors.h"
#include "platform/db/pg_types.h"

namespace kq::db {
namespace {

using pg::Oid;

struct ResultDeleter {
  void operator()(PGresult* r) const { PQclear(r); }
};
using ResultPtr = std::unique_ptr<PGresult, ResultDeleter>;

// What the connection and its statements share; statements may outlive the
// connection object and then find `conn` null.
struct PgSession {
  PGconn* conn = nullptr;
  int next_name = 0;
  int last_error = 0;
  std::string company;
  bool company_sent = false;
  bool savepoint = false;  // the statement savepoint of the open unit exists

  ~PgSession() {
    if (conn) PQfinish(conn);
  }

  bool in_transaction() const {
    if (!conn || PQstatus(conn) != CONNECTION_OK) return false;
    auto s = PQtransactionStatus(conn);
    return s == PQTRANS_INTRANS || s == PQTRANS_INERROR;
  }

  Error failure(const PGresult* r) {
    pg::ServerError e = pg::describe_failure(conn, r);
    last_error = e.code;
    return make_error(std::move(e.text));
  }

  // Runs `sql` (no parameters) and expects a command or rows.
  Result<void> exec(const char* sql) {
    if (!conn) return failure(nullptr);
    ResultPtr r(PQexec(conn, sql));
    auto st = PQresultStatus(r.get());
    if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK) return failure(r.get());
    return {};
  }

  // Before a statement runs: the company in the session setting, and inside a
  // unit the savepoint that a failure rolls back to.
  Result<void> before_statement() {
    if (!conn || PQstatus(conn) != CONNECTION_OK) return failure(nullptr);
    if (!company_sent) {
      const char* values[1] = {company.c_str()};
      ResultPtr r(PQexecParams(conn, "select set_config('kq.company', $1, false)", 1, nullptr, values, nullptr,
                               nullptr, 0));
      if (PQresultStatus(r.get()) != PGRES_TUPLES_OK) return failure(r.get());
      company_sent = true;
    }
    if (in_transaction()) {
      auto r = exec(savepoint ? "RELEASE SAVEPOINT kq_statement; SAVEPOINT kq_statement" : "SAVEPOINT kq_statement");
      if (!r) return r;
      savepoint = true;
    }
    return {};
  }

  // After a statement failed: its own changes are undone, the unit stays open.
  void after_failure() {
    if (savepoint && in_transaction()) {
      ResultPtr r(PQexec(conn, "ROLLBACK TO SAVEPOINT kq_statement"));
      company_sent = false;  // a setting made after the savepoint is undone too
    }
  }

  void unit_ended() {
    savepoint = false;
  }
};

class PgStatement final : public Statement {
 public:
  PgStatement(std::shared_ptr<PgSession> s, std::string sql) : s_(std::move(s)), sql_(std::move(sql)) {}
  ~PgStatement() override {
    if (s_->conn && PQstatus(s_->conn) == CONNECTION_OK && PQtransactionStatus(s_->conn) != PQTRANS_INERROR) {
      for (const auto& [types, name] : variants_) ResultPtr(PQexec(s_->conn, ("DEALLOCATE " + name).c_str()));
    }
  }
  PgStatement(const PgStatement&) = delete;
  PgStatement& operator=(const PgStatement&) = delete;

  // Prepares the text with every parameter type left to the server, and
  // reads the types it chose and the result's columns.
  Result<void> prepare();

  Result<void> bind(int index, const Value& v, const std::optional<ColumnInfo>& target) override {
    if (index < 0 || index >= static_cast<int>(values_.size())) return make_error("no parameter " + std::to_string(index + 1));
    values_[static_cast<size_t>(index)] = v;
    targets_[static_cast<size_t>(index)] = target;
    return {};
  }

  Result<bool> step() override {
    if (!executed_) {
      auto r = execute();
      if (!r) return r.failure();
      executed_ = true;
      row_ = 0;
    } else if (row_ < rows_) {
      ++row_;
    }
    return row_ < rows_;
  }

  void reset() override {
    result_.reset();
    executed_ = false;
    rows_ = row_ = 0;
    for (auto& v : values_) v = Value();
  }

  int64_t changes() const override { return changes_; }
  int column_count() const override { return static_cast<int>(names_.size()); }
  std::string_view column_name(int c) const override { return names_[static_cast<size_t>(c)]; }
  std::optional<ColumnInfo> column_info(int c) const override { return infos_[static_cast<size_t>(c)]; }

  void read(int c, Value& into) const override {
    const size_t k = static_cast<size_t>(c);
    PGresult* r = result_.get();
    pg::read_value(std::string_view(PQgetvalue(r, row_, c), static_cast<size_t>(PQgetlength(r, row_, c))),
                   PQgetisnull(r, row_, c) != 0, types_[k], infos_[k], into);
  }
  void read_row(std::span<Value> row) const override {
    int n = static_cast<int>(row.size());
    for (int c = 0; c < n; ++c) read(c, row[static_cast<size_t>(c)]);
  }

 private:
  // The server-side name of the text prepared with parameter types `types`
  // (all 0 = the server's choice), preparing it on first use.
  Result<std::string> prepared(const std::vector<Oid>& types);
  Result<void> execute();

  std::shared_ptr<PgSession> s_;
  std::string sql_;
  std::map<std::vector<Oid>, std::string> variants_;
  std::vector<Oid> inferred_;
  std::vector<Value> values_;
  std::vector<std::optional<ColumnInfo>> targets_;
  std::vector<std::string> names_;
  std::vector<Oid> types_;
  std::vector<std::optional<ColumnInfo>> infos_;
  ResultPtr result_;
  bool executed_ = false;
  int rows_ = 0, row_ = 0;
  int64_t changes_ = 0;
};

Result<std::string> PgStatement::prepared(const std::vector<Oid>& types) {
  if (auto it = variants_.find(types); it != variants_.end()) return it->second;
  std::string name = "kq_" + std::to_string(++s_->next_name);
  ResultPtr r(PQprepare(s_->conn, name.c_str(), sql_.c_str(), static_cast<int>(types.size()),
                        types.empty() ? nullptr : types.data()));
  if (PQresultStatus(r.get()) != PGRES_COMMAND_OK) return s_->failure(r.get());
  variants_.emplace(types, name);
  return name;
}

Result<void> PgStatement::prepare() {
  if (!s_->conn || PQstatus(s_->conn) != CONNECTION_OK) return s_->failure(nullptr);
  // Inside a unit a failing prepare would end the unit: behind the savepoint.
  if (auto r = s_->before_statement(); !r) return r;
  // A parameter whose type nothing tells ("select $1") is taken as text.
  std::vector<Oid> types;
  std::string name;
  for (;;) {
    std::string tried = "kq_" + std::to_string(s_->next_name + 1);
    ResultPtr r(PQprepare(s_->conn, tried.c_str(), sql_.c_str(), static_cast<int>(types.size()),
                          types.empty() ? nullptr : types.data()));
    if (PQresultStatus(r.get()) == PGRES_COMMAND_OK) {
      ++s_->next_name;
      name = tried;
      break;
    }
    const char* state = PQresultErrorField(r.get(), PG_DIAG_SQLSTATE);
    const char* msg = PQresultErrorField(r.get(), PG_DIAG_MESSAGE_PRIMARY);
    const char* dollar = msg ? std::strchr(msg, '$') : nullptr;
    int n = dollar ? std::atoi(dollar + 1) : 0;
    Error e = s_->failure(r.get());
    s_->after_failure();
    if (!state || std::string_view(state) != "42P18" || n < 1 || n > 10000 ||
        (static_cast<size_t>(n) <= types.size() && types[static_cast<size_t>(n - 1)] == pg::kText))
      return e;
    if (types.size() < static_cast<size_t>(n)) types.resize(static_cast<size_t>(n), 0);
    types[static_cast<size_t>(n - 1)] = pg::kText;
    if (auto b = s_->before_statement(); !b) return b;
  }
  ResultPtr d(PQdescribePrepared(s_->conn, name.c_str()));
  if (PQresultStatus(d.get()) != PGRES_COMMAND_OK) {
    Error e = s_->failure(d.get());
    s_->after_failure();
    return e;
  }
  const int np = PQnparams(d.get());
  inferred_.resize(static_cast<size_t>(np));
  for (int i = 0; i < np; ++i) inferred_[static_cast<size_t>(i)] = PQparamtype(d.get(), i);
  values_.assign(static_cast<size_t>(np), Value());
  targets_.assign(static_cast<size_t>(np), std::nullopt);
  variants_.emplace(inferred_, name);  // values of the inferred types run it as it is
  const int nf = PQnfields(d.get());
  for (int c = 0; c < nf; ++c) {
    names_.emplace_back(PQfname(d.get(), c));
    types_.push_back(PQftype(d.get(), c));
    infos_.push_back(pg::column_info(PQftype(d.get(), c), PQfmod(d.get(), c)));
  }
  return {};
}

Result<void> PgStatement::execute() {
  result_.reset();
  rows_ = row_ = 0;
  changes_ = 0;
  const size_t np = inferred_.size();
  std::vector<Oid> wanted(np);
  for (size_t i = 0; i < np; ++i) wanted[i] = pg::param_type_for(values_[i], inferred_[i]);
  std::vector<pg::ParamText> texts(np);
  for (size_t i = 0; i < np; ++i) {
    auto t = pg::param_text(values_[i], wanted[i], targets_[i]);
    if (!t) return t.failure();
    texts[i] = std::move(t.value());
  }
  std::vector<const char*> ptrs(np);
  std::vector<int> lengths(np), formats(np);
  for (size_t i = 0; i < np; ++i) {
    ptrs[i] = texts[i].null ? nullptr : texts[i].text.c_str();
    lengths[i] = static_cast<int>(texts[i].text.size());
    formats[i] = texts[i].binary ? 1 : 0;
  }
  if (auto r = s_->before_statement(); !r) return r;
  auto name = prepared(wanted);
  if (!name) {
    s_->after_failure();
    return name.failure();
  }
  ResultPtr r(PQexecPrepared(s_->conn, name->c_str(), static_cast<int>(np), ptrs.data(), lengths.data(),
                             formats.data(), 0));
  switch (PQresultStatus(r.get())) {
    case PGRES_TUPLES_OK:
      rows_ = PQntuples(r.get());
      result_ = std::move(r);
      return {};
    case PGRES_COMMAND_OK: {
      const char* n = PQcmdTuples(r.get());
      changes_ = n && *n ? std::atoll(n) : 0;
      return {};
    }
    default: {
      Error e = s_->failure(r.get());
      s_->after_failure();
      return e;
    }
  }
}

class PgConnection final : public Connection {
 public:
  PgConnection(std::shared_ptr<PgSession> s, std::unique_ptr<Dialect> dialect)
      : s_(std::move(s)), dialect_(std::move(dialect)), catalog_(s_->conn) {}
  ~PgConnection() override {
    if (s_->in_transaction()) (void)s_->exec("ROLLBACK");
    PQfinish(s_->conn);
    s_->conn = nullptr;  // statements held elsewhere fail from now on
  }
  PgConnection(const PgConnection&) = delete;
  PgConnection& operator=(const PgConnection&) = delete;

  const Dialect& dialect() const override { return *dialect_; }
  const Catalog& catalog() const override { return catalog_; }
  void refresh_catalog() override { catalog_.refresh(); }

  Result<std::unique_ptr<Statement>> prepare(std::string_view sql) override {
    auto st = std::make_unique<PgStatement>(s_, std::string(sql));
    if (auto r = st->prepare(); !r) return r.failure();
    return std::unique_ptr<Statement>(std::move(st));
  }

  Result<void> begin() override {
    s_->unit_ended();
    return s_->exec("BEGIN");
  }
  Result<void> commit() override {
    if (!s_->in_transaction()) return {};
    s_->unit_ended();
    if (PQtransactionStatus(s_->conn) == PQTRANS_INERROR) {
      (void)s_->exec("ROLLBACK");
      s_->company_sent = false;
      s_->last_error = 1;
      return make_error("the unit of work was ended by the database after an earlier error");
    }
    ResultPtr r(PQexec(s_->conn, "COMMIT"));
    if (PQresultStatus(r.get()) != PGRES_COMMAND_OK) return s_->failure(r.get());
    // The server answers ROLLBACK to a COMMIT of a unit that failed.
    if (std::string_view(PQcmdStatus(r.get())) != "COMMIT") {
      s_->company_sent = false;
      s_->last_error = 1;
      return make_error("the unit of work was ended by the database after an earlier error");
    }
    return {};
  }
  Result<void> rollback() override {
    if (!s_->in_transaction()) return {};
    s_->unit_ended();
    s_->company_sent = false;
    return s_->exec("ROLLBACK");
  }
  bool in_transaction() const override { return s_->in_transaction(); }

  void set_company(std::string company) override {
    s_->company = std::move(company);
    s_->company_sent = false;
  }
  int last_error_code() const override { return s_->last_error; }

  PGconn* handle() const { return s_->conn; }

 private:
  std::shared_ptr<PgSession> s_;
  std::unique_ptr<Dialect> dialect_;
  PgCatalog catalog_;
};

std::string first_line(const char* text) {
  std::string s = text ? text : "";
  if (auto nl = s.find('\n'); nl != std::string::npos) s.erase(nl);
  return s;
}

}  // namespace

std::string postgresql_server_name(const ConnectOptions& options) {
  PQconninfoOption* parsed = nullptr;
  std::string host, port, db;
  char* err = nullptr;
  const std::string& info = options.server;
  if (!info.empty()) parsed = PQconninfoParse(info.c_str(), &err);
  if (err) PQfreemem(err);
  auto env_or = [](const char* name, std::string fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
  };
  if (parsed) {
    for (PQconninfoOption* o = parsed; o->keyword; ++o) {
      if (!o->val) continue;
      std::string_view k = o->keyword;
      if (k == "host") host = o->val;
      if (k == "port") port = o->val;
      if (k == "dbname") db = o->val;
      if (k == "service") db = db.empty() ? std::string("service ") + o->val : db;
    }
    PQconninfoFree(parsed);
  }
  if (host.empty()) host = env_or("PGHOST", "localhost");
  if (port.empty()) port = env_or("PGPORT", "5432");
  if (db.empty()) db = env_or("PGDATABASE", "");
  return host + ":" + port + "/" + db;
}

Result<std::unique_ptr<Connection>> open_postgresql_connection(const ConnectOptions& options) {
  const char* keys[3] = {"fallback_application_name", nullptr, nullptr};
  const char* values[3] = {"kq_svc_309", nullptr, nullptr};
  if (!options.server.empty()) {
    keys[1] = "dbname";  // expanded: a URI, a conninfo string or "service=…"
    values[1] = options.server.c_str();
  }
  auto session = std::make_shared<PgSession>();
  session->conn = PQconnectdbParams(keys, values, 1);
  if (!session->conn) return make_error("cannot connect to the database server: out of memory");
  // The server's notices (NOTICE, WARNING) are not the user's business.
  PQsetNoticeProcessor(session->conn, [](void*, const char*) {}, nullptr);
  if (PQstatus(session->conn) != CONNECTION_OK)
    return make_error("cannot connect to the database server " + postgresql_server_name(options) + ": " +
                      first_line(PQerrorMessage(session->conn)));
  const std::string setup = "SET lock_timeout = " + std::to_string(std::max(options.busy_timeout_ms, 1)) +
                            "; SET datestyle = 'ISO, YMD'; SET client_encoding = 'UTF8'; "
                            "SET standard_conforming_strings = on; SET bytea_output = 'hex'";
  if (auto r = session->exec(setup.c_str()); !r) return make_error(r.error());
  session->company = options.company;
  auto conn = std::make_unique<PgConnection>(session, make_postgresql_dialect());
  return std::unique_ptr<Connection>(std::move(conn));
}

PGconn* postgresql_handle(Connection& connection) {
  auto* pg = dynamic_cast<PgConnection*>(&connection);
  return pg ? pg->handle() : nullptr;
}

Result<void> postgresql_execute_script(Connection& connection, std::string_view script) {
  PGconn* conn = postgresql_handle(connection);
  if (!conn) return make_error("not a PostgreSQL connection");
  ResultPtr r(PQexec(conn, std::string(script).c_str()));
  auto st = PQresultStatus(r.get());
  if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK && st != PGRES_EMPTY_QUERY)
    return make_error(pg::describe_failure(conn, r.get()).text);
  return {};
}

}  // namespace kq::db
