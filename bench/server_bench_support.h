#pragma once
// The database server of the PostgreSQL benchmarks: KQ_BENCH_POSTGRESQL (or
// KQ_TEST_POSTGRESQL), a URI of a cluster's maintenance database
// ("postgresql://kq@/postgres?host=/tmp/kq_pg/socket&port=54309"; see
// scripts/pg_cluster.sh, with KQ_PG_FSYNC=on for figures with durable
// commits). Databases are created and dropped by name.
#include <libpq-fe.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace kq::bench {

inline std::string server_uri() {
  for (const char* name : {"KQ_BENCH_POSTGRESQL", "KQ_TEST_POSTGRESQL"})
    if (const char* v = std::getenv(name); v && *v) return v;
  return "";
}

// The URI naming database `name` instead of the maintenance database.
inline std::string database_uri(const std::string& name) {
  std::string uri = server_uri();
  size_t at = uri.find("/postgres");
  if (at != std::string::npos) uri.replace(at, 9, "/" + name);
  return uri;
}

// Runs `sql` on `uri`; aborts with the server's message on failure.
inline void run_sql(const std::string& uri, const std::string& sql) {
  PGconn* c = PQconnectdb(uri.c_str());
  PQsetNoticeProcessor(c, [](void*, const char*) {}, nullptr);
  PGresult* r = PQexec(c, sql.c_str());
  if (PQresultStatus(r) != PGRES_COMMAND_OK && PQresultStatus(r) != PGRES_TUPLES_OK) {
    std::fprintf(stderr, "%s\n%s\n", sql.substr(0, 200).c_str(), PQerrorMessage(c));
    std::exit(1);
  }
  PQclear(r);
  PQfinish(c);
}

}  // namespace kq::bench
