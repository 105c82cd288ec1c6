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

// A fresh, empty database on the cluster, dropped again at the end.
class ServerDatabase {
 public:
  ServerDatabase() {
    static std::atomic<int> counter{0};
    name_ = "kq_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
    std::string e = run_on_cluster("DROP DATABASE IF EXISTS " + name_);
    if (e.empty()) e = run_on_cluster("CREATE DATABASE " + name_ + " TEMPLATE template0 ENCODING 'UTF8'");
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
