#pragma once
// A database of its own on the test cluster (scripts/pg_cluster.sh), for
// tests that run on PostgreSQL. The cluster's conninfo comes from the
// environment variable KQ_TEST_POSTGRESQL, a URI of its maintenance
// database "postgres" (ctest sets it and starts the
// cluster as a fixture). Without it a plain developer run skips those tests
// with a loud message; with KQ_REQUIRE_POSTGRESQL=1 (set by ctest) a missing
// cluster fails them instead.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "data/schema/postgresql_schema.h"
#include "platform/db/pg_backend.h"

namespace kq::testing {

inline std::optional<std::string> test_cluster() {
  const char* v = std::getenv("KQ_TEST_POSTGRESQL");
  if (!v || !*v) return std::nullopt;
  return std::string(v);
}

inline bool server_required() {
  const char* v = std::getenv("KQ_REQUIRE_POSTGRESQL");
  return v && std::string(v) == "1";
}

// In a test body or SetUp: skips (or fails, when required) without a cluster.
#define KQ_NEED_SERVER()                                                                                     \
  do {                                                                                                       \
    if (!kq::testing::test_cluster()) {                                                                      \
      if (kq::testing::server_required()) FAIL() << "KQ_TEST_POSTGRESQL is not set: no test cluster";        \
      GTEST_SKIP() << "*** PostgreSQL tests SKIPPED: set KQ_TEST_POSTGRESQL (eval $(scripts/pg_cluster.sh " \
                      "env) after scripts/pg_cluster.sh start) ***";                                         \
    }                                                                                                        \
  } while (0)

// Runs `sql` on the cluster's maintenance database; "" or the error.
inline std::string run_on_cluster(const std::string& sql) {
  PGconn* c = PQconnectdb(test_cluster().value_or("").c_str());
  PQsetNoticeProcessor(c, [](void*, const char*) {}, nullptr);
  std::string error;
  if (PQstatus(c) != CONNECTION_OK) {
    error = PQerrorMessage(c);
  } else {
    PGresult* r = PQexec(c, sql.c_str());
    if (PQresultStatus(r) != PGRES_COMMAND_OK && PQresultStatus(r) != PGRES_TUPLES_OK) error = PQresultErrorMessage(r);
    PQclear(r);
  }
  PQfinish(c);
  return error;
}

// The whole content of the shop and club schema of database `uri`, as text:
// every table, every row (as the server writes it) in sorted order. For
// tests that prove a failed unit of work left nothing behind.
inline std::string dump_server_database(const std::string& uri) {
  PGconn* c = PQconnectdb(uri.c_str());
  std::string out;
  auto rows = [&](const std::string& sql, auto&& each) {
    PGresult* r = PQexec(c, sql.c_str());
    if (PQresultStatus(r) != PGRES_TUPLES_OK) {
      ADD_FAILURE() << "dump of " << uri << ": " << sql << ": " << PQresultErrorMessage(r);
      out += "<error " + sql + ": " + PQresultErrorMessage(r) + ">\n";
    } else
      for (int i = 0; i < PQntuples(r); ++i) each(PQgetvalue(r, i, 0));
    PQclear(r);
  };
  std::vector<std::string> tables;
  rows("SELECT table_schema || '.' || table_name FROM information_schema.tables WHERE table_type = 'BASE TABLE' "
       "AND table_schema IN (current_schema(), 'kq_club') ORDER BY 1",
       [&](const char* t) { tables.emplace_back(t); });
  for (const std::string& t : tables) {
    out += "== " + t + "\n";
    rows("SELECT x::text FROM " + t + " x ORDER BY x::text COLLATE \"C\"",
         [&](const char* row) { out += std::string(row) + "\n"; });
  }
  PQfinish(c);
  return out;
}

// A fresh, empty database on the cluster, dropped again at the end.
class ServerDatabase {
 public:
  // A copy of database `template_db` (which nobody may be connected to).
  explicit ServerDatabase(const std::string& template_db = "template0") {
    static std::atomic<int> counter{0};
    name_ = "kq_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
    std::string e = run_on_cluster("DROP DATABASE IF EXISTS " + name_);
    if (e.empty()) e = run_on_cluster("CREATE DATABASE " + name_ + " TEMPLATE " + template_db + " ENCODING 'UTF8'");
    EXPECT_EQ(e, "") << "cannot create the test database " << name_;
  }
  ~ServerDatabase() { run_on_cluster("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)"); }
  ServerDatabase(const ServerDatabase&) = delete;
  ServerDatabase& operator=(const ServerDatabase&) = delete;

  const std::string& name() const { return name_; }
  // The cluster's URI ("postgresql://kq@/postgres?host=…") naming this database.
  std::string conninfo() const {
    std::string uri = test_cluster().value_or("");
    size_t at = uri.find("/postgres");
    if (at != std::string::npos) uri.replace(at, 9, "/" + name_);
    return uri;
  }
  db::ConnectOptions options(std::string company = "01") const {
    db::ConnectOptions o;
    o.backend = "postgresql";
    o.server = conninfo();
    o.company = std::move(company);
    o.busy_timeout_ms = 500;
    return o;
  }

 private:
  std::string name_;
};

}  // namespace kq::testing
