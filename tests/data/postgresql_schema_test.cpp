// The schema on a PostgreSQL server: every table and view of the embedded
// schema is there with the same columns, in the same order, of the same
// kinds, scales and nullability; migrating again changes nothing; a database
// of something else, or of a newer program, is refused untouched.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <map>
#include <string>

#include "data/schema/database_files.h"
#include "data/schema/postgresql_schema.h"
#include "platform/db/pg_types.h"
#include "platform/db/sqlite_storage.h"
#include "platform/db/transaction.h"
#include "support/server_database.h"

namespace kq::schema {
namespace {

std::string kind_text(const std::optional<db::ColumnInfo>& info, bool not_null) {
  if (!info) return "?";
  static const char* names[] = {"text", "integer", "decimal", "datetime", "blob"};
  std::string s = names[static_cast<int>(info->kind)];
  if (info->kind == db::ColumnKind::Decimal) s += "(" + std::to_string(info->scale) + ")";
  return s + (not_null ? " not null" : "");
}

// "table" -> "name kind; ..." of the embedded schema; the club's tables
// (kq_club_<table> in the file) under the server's name kq_club.<table>.
std::map<std::string, std::string> embedded_columns() {
  std::map<std::string, std::string> out;
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  sqlite3_exec(db, "ATTACH DATABASE ':memory:' AS kq_club", nullptr, nullptr, nullptr);
  auto created = create_schema(db);
  EXPECT_TRUE(created) << created.error();
  for (std::string schema : {"main"}) {
    sqlite3_stmt* objects = nullptr;
    sqlite3_prepare_v2(db, ("select name from " + schema + ".sqlite_schema where type in ('table', 'view') and name not "
                            "like 'sqlite_%' order by name").c_str(), -1, &objects, nullptr);
    while (sqlite3_step(objects) == SQLITE_ROW) {
      std::string table = reinterpret_cast<const char*>(sqlite3_column_text(objects, 0));
      sqlite3_stmt* cols = nullptr;
      sqlite3_prepare_v2(db, ("pragma " + schema + ".table_info(" + table + ")").c_str(), -1, &cols, nullptr);
      const bool club = table.rfind("kq_club_", 0) == 0;
      std::string& lines = out[club ? "kq_club." + table.substr(8) : table];
      while (sqlite3_step(cols) == SQLITE_ROW) {
        auto decl = reinterpret_cast<const char*>(sqlite3_column_text(cols, 2));
        // A column declared INTEGER PRIMARY KEY is never null.
        const bool not_null = sqlite3_column_int(cols, 3) != 0 || (sqlite3_column_int(cols, 5) != 0 &&
                                                                     std::string(decl ? decl : "") == "INTEGER");
        lines += std::string(reinterpret_cast<const char*>(sqlite3_column_text(cols, 1))) + " " +
                 kind_text(db::sqlite::column_info_from_decl(decl ? decl : ""), not_null) + "; ";
      }
      sqlite3_finalize(cols);
    }
    sqlite3_finalize(objects);
  }
  sqlite3_close(db);
  return out;
}

std::map<std::string, std::string> server_columns(const std::string& uri) {
  std::map<std::string, std::string> out;
  PGconn* c = PQconnectdb(uri.c_str());
  PGresult* r = PQexec(c,
                       "SELECT CASE WHEN n.nspname = 'kq_club' THEN 'kq_club.' ELSE '' END || c.relname, a.attname, "
                       "a.atttypid, a.atttypmod, a.attnotnull, c.relkind "
                       "FROM pg_attribute a JOIN pg_class c ON c.oid = a.attrelid JOIN pg_namespace n ON n.oid = "
                       "c.relnamespace WHERE c.relkind IN ('r', 'v') AND a.attnum > 0 AND NOT a.attisdropped AND "
                       "n.nspname IN (current_schema(), 'kq_club') AND c.relname <> 'kq_schema_version' "
                       "ORDER BY 1, a.attnum");
  EXPECT_EQ(PQresultStatus(r), PGRES_TUPLES_OK) << PQerrorMessage(c);
  for (int i = 0; i < PQntuples(r); ++i) {
    const bool view = std::string(PQgetvalue(r, i, 5)) == "v";
    // A view's columns carry no NOT NULL on either side (SQLite reports none).
    const bool not_null = !view && std::string(PQgetvalue(r, i, 4)) == "t";
    out[PQgetvalue(r, i, 0)] += std::string(PQgetvalue(r, i, 1)) + " " +
                                kind_text(db::pg::column_info(static_cast<db::pg::Oid>(std::stoul(PQgetvalue(r, i, 2))),
                                                              std::stoi(PQgetvalue(r, i, 3))),
                                          not_null) +
                                "; ";
  }
  PQclear(r);
  PQfinish(c);
  return out;
}

Result<void> migrate(const kq::testing::ServerDatabase& server, MigrateOptions options = {}) {
  db::Transaction t;
  if (auto r = t.connect(server.options()); !r) return r;
  return migrate_postgresql(*t.connection(), options);
}

TEST(SchemaOnTheServer, MirrorsTheEmbeddedSchemaColumnByColumn) {
  KQ_NEED_SERVER();
  kq::testing::ServerDatabase server;
  ASSERT_TRUE(migrate(server)) << migrate(server).error();
  const auto expected = embedded_columns();
  ASSERT_GT(expected.size(), 40u);
  EXPECT_EQ(server_columns(server.conninfo()), expected);
}

TEST(SchemaOnTheServer, MigratesOnceAndRefusesStrangersAndNewerVersions) {
  KQ_NEED_SERVER();
  kq::testing::ServerDatabase empty, shop, stranger, newer;
  MigrateOptions no_create;
  no_create.allow_create = false;
  auto refused = migrate(empty, no_create);
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.error().find("is empty"), std::string::npos) << refused.error();

  ASSERT_TRUE(migrate(shop));
  const std::string before = kq::testing::dump_server_database(shop.conninfo());
  auto again = migrate(shop);
  EXPECT_TRUE(again) << again.error();
  EXPECT_EQ(kq::testing::dump_server_database(shop.conninfo()), before);
  EXPECT_NE(before.find("(shop," + std::to_string(latest_shop_version()) + ")"), std::string::npos) << before;

  PGconn* c = PQconnectdb(stranger.conninfo().c_str());
  PQclear(PQexec(c, "CREATE TABLE invoices (id integer)"));
  PQfinish(c);
  auto foreign = migrate(stranger);
  ASSERT_FALSE(foreign);
  EXPECT_NE(foreign.error().find("not a kq_svc_309 shop database"), std::string::npos) << foreign.error();
  EXPECT_EQ(kq::testing::dump_server_database(stranger.conninfo()).find("kq_schema_version"), std::string::npos);

  ASSERT_TRUE(migrate(newer));
  c = PQconnectdb(newer.conninfo().c_str());
  PQclear(PQexec(c, "UPDATE kq_schema_version SET version = 99 WHERE part = 'shop'"));
  PQfinish(c);
  auto ahead = migrate(newer);
  ASSERT_FALSE(ahead);
  EXPECT_NE(ahead.error().find("newer than this program knows"), std::string::npos) << ahead.error();
}

}  // namespace
}  // namespace kq::schema
