#pragma once
// The database server of the PostgreSQL benchmarks: KQ_BENCH_POSTGRESQL (or
// KQ_TEST_POSTGRESQL), a URI of a cluster's maintenance database
// ("postgresql://kq@/postgres?host=/tmp/kq_pg/socket&port=54309"; see
// scripts/pg_cluster.sh, with KQ_PG_FSYNC=on for figures with durable
// commits). Databases are created and dropped by name.
#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "data/schema/postgresql_schema.h"
#include "platform/db/pg_backend.h"
#include "platform/db/transaction.h"

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

// Creates database `name` with the server schema and every row of the
// SQLite pair at `shop` (the demo), identities continuing after the copied ids.
inline void copy_shop_to_server(const std::filesystem::path& shop, const std::string& name) {
  run_sql(server_uri(), "DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
  run_sql(server_uri(), "CREATE DATABASE " + name + " TEMPLATE template0 ENCODING 'UTF8'");
  db::ConnectOptions lite, server;
  lite.database = shop.string();
  server.backend = "postgresql";
  server.server = database_uri(name);
  db::Transaction from, to;
  auto fail = [](const std::string& why) {
    std::fprintf(stderr, "copy to the server: %s\n", why.c_str());
    std::exit(1);
  };
  if (auto r = from.connect(lite); !r) fail(r.error());
  if (auto r = to.connect(server); !r) fail(r.error());
  if (auto r = schema::migrate_postgresql(*to.connection()); !r) fail(r.error());
  to.clear_cache();
  for (const std::string schema : {"main", "kq_club"}) {
    sqlite3* db = nullptr;
    const auto file = schema == "main" ? shop : shop.parent_path() / "kq_club.db";
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "select name from sqlite_schema where type = 'table' and name not like 'sqlite_%'", -1, &st, nullptr);
    std::vector<std::string> tables;
    while (st && sqlite3_step(st) == SQLITE_ROW) tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    for (const std::string& table : tables) {
      const std::string qualified = schema == "main" ? table : "kq_club.." + table;
      auto cursor = from.open_cursor("select * from " + qualified, {});
      if (!cursor) fail(cursor.error());
      std::vector<std::string> columns;
      std::string insert = "insert into " + qualified + " (", values = ") values (";
      for (int c = 0; c < cursor->column_count(); ++c) {
        columns.emplace_back(cursor->column_name(c));
        insert += (c ? ", " : "") + columns.back();
        values += (c ? ", :" : ":") + columns.back();
      }
      insert += values + ")";
      std::vector<Value> row(columns.size());
      while (cursor->next()) {
        cursor->read_row(row);
        std::vector<db::HostVar> vars;
        for (size_t c = 0; c < columns.size(); ++c) vars.emplace_back(columns[c], row[c]);
        if (to.exec(insert, vars) != 0) fail(qualified + ": " + to.sqlerrtext);
      }
    }
  }
  auto r = db::postgresql_execute_script(*to.connection(), R"(DO $$ DECLARE r record; BEGIN
    FOR r IN SELECT table_schema s, table_name t FROM information_schema.columns
              WHERE column_name = 'id' AND is_identity = 'YES' AND table_schema IN (current_schema(), 'kq_club') LOOP
      EXECUTE format('SELECT setval(pg_get_serial_sequence(%L, ''id''), (SELECT coalesce(max(id), 0) + 1 FROM %I.%I), false)',
                     r.s || '.' || r.t, r.s, r.t);
    END LOOP; END $$)");
  if (!r) fail(r.error());
  if (to.commit() != 0) fail(to.sqlerrtext);
}

}  // namespace kq::bench
