#pragma once
// Shared pieces of the Transaction tests: a fresh shop.db (with the club
// tables) built from the DDL fixtures of this folder, and reads of a file that bypass the
// Transaction under test.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/db/transaction.h"

namespace kq::db::testing {

// Runs `sql` on the file `path` through a connection of its own (creating the file).
inline void run_on_file(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  char* err = nullptr;
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err);
  std::string msg = err ? err : "";
  sqlite3_free(err);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK) << msg;
}

// The first column of the first row of `sql` on `path`, read by a connection
// of its own (read-write, as a reader of a write-ahead log needs), as text;
// "<none>" without a row.
inline std::string query_file(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_stmt* st = nullptr;
  std::string out = "<error>";
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
    int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
      auto t = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
      out = t ? t : "<null>";
    }
    if (rc == SQLITE_DONE) out = "<none>";
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return out;
}

class DbFiles {
 public:
  DbFiles() {
    static std::atomic<int> counter{0};
    dir_ = std::filesystem::temp_directory_path() /
           ("kq_txn_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(dir_);
    // Built without syncing: only the Transaction under test needs durability.
    for (const char* ddl : {"txn_shop.sql", "txn_club.sql"}) {
      std::ifstream in(std::filesystem::path(KQ_TESTS_DIR) / "platform/db" / ddl);
      std::stringstream text;
      text << in.rdbuf();
      run_on_file(shop(), "PRAGMA synchronous=OFF;" + text.str());
    }
  }
  ~DbFiles() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string shop() const { return (dir_ / "shop.db").string(); }
  const std::filesystem::path& dir() const { return dir_; }
  ConnectOptions options(std::string company = "01") const {
    ConnectOptions o;
    o.database = shop();
    o.company = std::move(company);
    o.busy_timeout_ms = 200;
    return o;
  }

 private:
  std::filesystem::path dir_;
};

// The files and a connected sqlca.
class TxnTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto r = sqlca.connect(files.options());
    ASSERT_TRUE(r.ok()) << r.error();
  }
  // Runs a statement that must succeed.
  void must(std::string_view sql, std::initializer_list<HostVar> vars = {}) {
    ASSERT_EQ(sqlca.exec(sql, vars), 0) << sql << ": " << sqlca.sqlerrtext;
  }
  DbFiles files;
  Transaction sqlca;
};

}  // namespace kq::db::testing
