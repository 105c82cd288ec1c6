#pragma once
// The database server of the PostgreSQL benchmarks: KQ_BENCH_POSTGRESQL (or
// KQ_TEST_POSTGRESQL), a URI of a cluster's maintenance database
// ("postgresql://kq@/postgres?host=/tmp/kq_pg/socket&port=54309"; see
// scripts/pg_cluster.sh, with KQ_PG_FSYNC=on for figures with durable
// commits). Databases are created and dropped by name.
#include <libpq-fe.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "data/location/database_location.h"
#include "data/transfer/shop_copy.h"

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

// Creates database `name` with the server schema and every row of the shop
// file `shop` (the demo), through the product's own copy (db copy).
inline void copy_shop_to_server(const std::filesystem::path& shop, const std::string& name) {
  run_sql(server_uri(), "DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
  run_sql(server_uri(), "CREATE DATABASE " + name + " TEMPLATE template0 ENCODING 'UTF8'");
  auto fail = [](const std::string& why) {
    std::fprintf(stderr, "copy to the server: %s\n", why.c_str());
    std::exit(1);
  };
  auto target_location = data::server_location(database_uri(name));
  if (!target_location) fail(target_location.error());
  data::DatabaseLocation source_location;
  source_location.shop_file = shop;
  auto from = data::open_location(source_location, {.create = false, .company = {}});
  if (!from) fail(from.error());
  auto to = data::open_location(*target_location, {.create = true, .company = {}});
  if (!to) fail(to.error());
  if (auto copied = data::copy_shop(**from, **to, {}); !copied) fail(copied.error());
}

}  // namespace kq::bench
