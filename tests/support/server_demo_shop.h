#pragma once
// The demo shop on both backends: the embedded default's files built by the
// demo builder, and a database on the test cluster with the server schema and
// the same rows, copied table by table through the two backends (every
// value bound, the identities continuing after the copied ids).
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/demo/demo_shop.h"
#include "platform/db/transaction.h"
#include "support/server_database.h"

namespace kq::testing {

// The tables of schema `schema` ("main", "kq_club") of an SQLite file pair.
inline std::vector<std::string> sqlite_tables(const std::filesystem::path& shop, const std::string& schema) {
  std::vector<std::string> out;
  sqlite3* db = nullptr;
  std::filesystem::path file = schema == "main" ? shop : shop.parent_path() / "kq_club.db";
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "select name from sqlite_schema where type = 'table' and name not like 'sqlite_%' order by name",
                       -1, &st, nullptr);
    while (st && sqlite3_step(st) == SQLITE_ROW) out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  return out;
}

// Copies every row of the SQLite pair behind `from` into the server behind `to`.
inline void copy_rows(const std::filesystem::path& shop, db::Transaction& from, db::Transaction& to) {
  for (const std::string schema : {"main", "kq_club"}) {
    for (const std::string& table : sqlite_tables(shop, schema)) {
      const std::string name = schema == "main" ? table : "kq_club.." + table;
      auto cursor = from.open_cursor("select * from " + name, {});
      ASSERT_TRUE(cursor) << name << ": " << cursor.error();
      std::string insert = "insert into " + name + " (", values = ") values (";
      std::vector<std::string> columns;  // host variables name them by view
      for (int c = 0; c < cursor->column_count(); ++c) {
        const std::string& col = columns.emplace_back(cursor->column_name(c));
        insert += (c ? ", " : "") + col;
        values += (c ? ", :" : ":") + col;
      }
      insert += values + ")";
      std::vector<Value> row(static_cast<size_t>(cursor->column_count()));
      while (cursor->next()) {
        cursor->read_row(row);
        std::vector<db::HostVar> vars;
        for (int c = 0; c < cursor->column_count(); ++c)
          vars.emplace_back(columns[static_cast<size_t>(c)], row[static_cast<size_t>(c)]);
        ASSERT_EQ(to.exec(insert, vars), 0) << name << ": " << to.sqlerrtext;
      }
      ASSERT_TRUE(cursor->ok()) << cursor->error();
    }
  }
  // The identities continue after the copied ids.
  auto r = db::postgresql_execute_script(*to.connection(), R"(DO $$ DECLARE r record; BEGIN
    FOR r IN SELECT table_schema s, table_name t FROM information_schema.columns
              WHERE column_name = 'id' AND is_identity = 'YES' AND table_schema IN (current_schema(), 'kq_club') LOOP
      EXECUTE format('SELECT setval(pg_get_serial_sequence(%L, ''id''), (SELECT coalesce(max(id), 0) + 1 FROM %I.%I), false)',
                     r.s || '.' || r.t, r.s, r.t);
    END LOOP; END $$)");
  ASSERT_TRUE(r) << r.error();
  ASSERT_EQ(to.commit(), 0) << to.sqlerrtext;
}

// The demo shop of business date `today` in a temporary folder and on a
// database of the test cluster (when there is one).
class DemoOnBothBackends {
 public:
  explicit DemoOnBothBackends(const char* today = "2026/12/08") {
    dir_ = std::filesystem::temp_directory_path() / ("kq_both_" + std::to_string(::getpid()) + "_" +
                                                     std::to_string(reinterpret_cast<uintptr_t>(this)));
    std::filesystem::remove_all(dir_);
    demo::DemoOptions options;
    options.today = *DateTime::parse(today);
    options.hash_password = [](std::string_view p) { return "plain:" + std::string(p); };
    auto built = demo::build_demo_files(shop(), options, true);
    EXPECT_TRUE(built) << built.error();
    if (!test_cluster()) return;
    server_ = std::make_unique<ServerDatabase>();
    db::Transaction from, to;
    auto a = from.connect(sqlite_options());
    auto b = to.connect(server_->options());
    EXPECT_TRUE(a && b) << (a ? "" : a.error()) << (b ? "" : b.error());
    if (!a || !b) return;
    auto migrated = schema::migrate_postgresql(*to.connection());
    EXPECT_TRUE(migrated) << migrated.error();
    to.clear_cache();
    copy_rows(shop(), from, to);
  }
  ~DemoOnBothBackends() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  std::filesystem::path shop() const { return dir_ / "shop.db"; }
  db::ConnectOptions sqlite_options(std::string company = "01") const {
    db::ConnectOptions o;
    o.database = shop().string();
    o.company = std::move(company);
    return o;
  }
  bool has_server() const { return server_ != nullptr; }
  const std::string& server_name() const { return server_->name(); }
  db::ConnectOptions server_options(std::string company = "01") const { return server_->options(std::move(company)); }
  db::ConnectOptions options(const std::string& backend, std::string company = "01") const {
    return backend == "postgresql" ? server_options(std::move(company)) : sqlite_options(std::move(company));
  }

 private:
  std::filesystem::path dir_;
  std::unique_ptr<ServerDatabase> server_;
};

}  // namespace kq::testing
