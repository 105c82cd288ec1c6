// The migration runner: creating from empty, stepping forward, refusing what
// it must not touch, and leaving a failed step without a trace.
#include <gtest/gtest.h>

#include "data/schema/database_files.h"
#include "data/schema/migrations.h"
#include "db_test_util.h"

namespace kq::schema {
namespace {

using testing::empty_pair;
using testing::exec;
using testing::number;
using testing::rows;
using testing::schema_pair;
using testing::text;

bool contains(const std::string& haystack, const std::string& needle) { return haystack.find(needle) != std::string::npos; }

// A test kind whose scripts are the given texts, numbered from 1.
SchemaKind kind_with(std::vector<std::string_view> sql, int32_t id = 0x54455354) {
  SchemaKind k{"test database", "main", id, {}};
  for (size_t i = 0; i < sql.size(); ++i)
    k.scripts.push_back(Script{static_cast<int>(i) + 1, "00" + std::to_string(i + 1) + "_step.sql", sql[i]});
  return k;
}

std::string schema_dump(sqlite3* db) {
  std::string out;
  for (const char* s : {"main", "kq_club"})
    for (auto& r : rows(db, std::string("SELECT type, name, sql FROM ") + s + ".sqlite_schema ORDER BY type, name"))
      out += std::string(s) + "|" + r[0] + "|" + r[1] + "|" + r[2] + "\n";
  return out;
}

TEST(SchemaScripts, EmbeddedScriptsAreNumberedWithoutGaps) {
  for (const char* folder : {"data/schema/shop/", "data/schema/club/"}) {
    auto scripts = embedded_scripts(folder);
    ASSERT_TRUE(scripts) << scripts.error();
    ASSERT_FALSE(scripts->empty());
    for (size_t i = 0; i < scripts->size(); ++i) EXPECT_EQ((*scripts)[i].version, static_cast<int>(i) + 1);
  }
  EXPECT_EQ(latest_shop_version(), static_cast<int>(shop_kind()->scripts.size()));
  EXPECT_FALSE(embedded_scripts("data/schema/none/"));
}

TEST(CreateSchema, MarksBothDatabasesWithTheirIdAndLatestVersion) {
  auto db = schema_pair();
  EXPECT_EQ(number(db.get(), "PRAGMA main.application_id"), kShopApplicationId);
  EXPECT_EQ(number(db.get(), "PRAGMA kq_club.application_id"), kClubApplicationId);
  EXPECT_EQ(number(db.get(), "PRAGMA main.user_version"), latest_shop_version());
  EXPECT_EQ(number(db.get(), "PRAGMA kq_club.user_version"), latest_club_version());
  // The club script creates its tables in the club database, not in main.
  EXPECT_EQ(number(db.get(), "SELECT count(*) FROM kq_club.sqlite_schema WHERE name = 'club08'"), 1);
  EXPECT_EQ(number(db.get(), "SELECT count(*) FROM kq_club.sqlite_schema WHERE type = 'view'"), 0);
  // The shop takes the club's tables in as its own kq_club_<table>.
  EXPECT_EQ(number(db.get(), "SELECT count(*) FROM main.sqlite_schema WHERE name = 'kq_club_club08'"), 1);
}

TEST(CreateSchema, RefusesADatabaseThatIsNotEmpty) {
  auto db = empty_pair();
  exec(db.get(), "CREATE TABLE kq_club.other (x)");
  auto ok = create_schema(db.get());
  ASSERT_FALSE(ok);
  EXPECT_TRUE(contains(ok.error(), "club database")) << ok.error();
  EXPECT_EQ(number(db.get(), "SELECT count(*) FROM main.sqlite_schema"), 0);  // main untouched as well

  auto twice = schema_pair();
  EXPECT_FALSE(create_schema(twice.get()));
}

TEST(Migrate, IsIdempotentOnACurrentSchema) {
  auto db = schema_pair();
  exec(db.get(), "INSERT INTO sysi90 (cssxt, ccsdm, ccsz, cgsh) VALUES ('SYS', 'CGSMC', 'x', '01')");
  const std::string before = schema_dump(db.get());
  ASSERT_TRUE(migrate(db.get()));
  ASSERT_TRUE(migrate(db.get()));
  EXPECT_EQ(schema_dump(db.get()), before);
  EXPECT_EQ(number(db.get(), "SELECT count(*) FROM sysi90"), 1);
}

TEST(Migrate, StepsForwardFromAnOlderVersion) {
  auto db = empty_pair();
  ASSERT_TRUE(migrate_schema(db.get(), kind_with({"CREATE TABLE t (a INTEGER);"})));
  exec(db.get(), "INSERT INTO t VALUES (7)");
  auto two = kind_with({"CREATE TABLE t (a INTEGER);", "ALTER TABLE t ADD COLUMN b CHAR(2) DEFAULT 'x';"});
  auto ok = migrate_schema(db.get(), two);
  ASSERT_TRUE(ok) << ok.error();
  EXPECT_EQ(number(db.get(), "PRAGMA user_version"), 2);
  EXPECT_EQ(text(db.get(), "SELECT a || b FROM t"), "7x");  // script 1 did not run again

  MigrateOptions no_upgrade;
  no_upgrade.allow_upgrade = false;
  auto three = kind_with({"CREATE TABLE t (a INTEGER);", "SELECT 1;", "CREATE TABLE u (c);"});
  auto refused = migrate_schema(db.get(), three, no_upgrade);
  ASSERT_FALSE(refused);
  EXPECT_TRUE(contains(refused.error(), "older")) << refused.error();
  EXPECT_EQ(number(db.get(), "PRAGMA user_version"), 2);
}

TEST(Migrate, AFailingScriptLeavesThePreviousVersionIntact) {
  auto db = empty_pair();
  ASSERT_TRUE(migrate_schema(db.get(), kind_with({"CREATE TABLE t (a);"})));
  auto broken = kind_with({"CREATE TABLE t (a);", "CREATE TABLE half (x); INSERT INTO t VALUES (1); SELECT * FROM nowhere;"});
  auto ok = migrate_schema(db.get(), broken);
  ASSERT_FALSE(ok);
  EXPECT_TRUE(contains(ok.error(), "002_step.sql")) << ok.error();
  EXPECT_TRUE(contains(ok.error(), "no such table: nowhere")) << ok.error();
  EXPECT_EQ(number(db.get(), "PRAGMA user_version"), 1);
  EXPECT_EQ(number(db.get(), "SELECT count(*) FROM sqlite_schema WHERE name = 'half'"), 0);
  EXPECT_EQ(number(db.get(), "SELECT count(*) FROM t"), 0);
  // The connection is usable and not left inside a transaction.
  EXPECT_NE(sqlite3_get_autocommit(db.get()), 0);
}

TEST(Migrate, RefusesANewerVersionAndChangesNothing) {
  auto db = schema_pair();
  exec(db.get(), "PRAGMA main.user_version = " + std::to_string(latest_shop_version() + 5));
  const std::string before = schema_dump(db.get());
  auto ok = migrate(db.get());
  ASSERT_FALSE(ok);
  EXPECT_TRUE(contains(ok.error(), "newer")) << ok.error();
  EXPECT_TRUE(contains(ok.error(), "shop database")) << ok.error();
  EXPECT_EQ(schema_dump(db.get()), before);
}

TEST(Migrate, RefusesForeignDatabases) {
  {
    auto db = empty_pair();
    exec(db.get(), "CREATE TABLE customers (name TEXT)");
    auto ok = migrate(db.get());
    ASSERT_FALSE(ok);
    EXPECT_TRUE(contains(ok.error(), "not a kq_svc_309 shop database")) << ok.error();
    EXPECT_EQ(number(db.get(), "SELECT count(*) FROM main.sqlite_schema"), 1);
  }
  {
    auto db = empty_pair();
    exec(db.get(), "PRAGMA main.application_id = 1234");
    auto ok = migrate(db.get());
    ASSERT_FALSE(ok);
    EXPECT_TRUE(contains(ok.error(), "0x000004D2")) << ok.error();
  }
  {
    // Shop and club swapped: each is named for what it is.
    auto db = empty_pair();
    exec(db.get(), "PRAGMA main.application_id = " + std::to_string(kClubApplicationId));
    exec(db.get(), "PRAGMA main.user_version = 1");
    auto ok = migrate(db.get());
    ASSERT_FALSE(ok);
    EXPECT_TRUE(contains(ok.error(), "is a kq_svc_309 club database, not a shop database")) << ok.error();
  }
}

TEST(Migrate, ReadStateNamesTheDatabase) {
  auto db = schema_pair();
  auto shop = shop_kind();
  ASSERT_TRUE(shop);
  EXPECT_EQ(describe(db.get(), *shop), "shop database (in memory)");
  auto state = read_state(db.get(), *shop);
  ASSERT_TRUE(state);
  EXPECT_FALSE(state->fresh());
  EXPECT_GT(state->objects, 50);
}

}  // namespace
}  // namespace kq::schema
