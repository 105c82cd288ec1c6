#pragma once
// Helpers of the schema and demo tests: in-memory shop pairs, temporary
// folders and one-line queries.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/schema/database_files.h"

namespace kq::testing {

struct SqliteCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Db = std::unique_ptr<sqlite3, SqliteCloser>;

// ":memory:" with a second ":memory:" attached as kq_club, no schema.
inline Db empty_pair() {
  sqlite3* raw = nullptr;
  sqlite3_open(":memory:", &raw);
  Db db(raw);
  sqlite3_exec(raw, "ATTACH DATABASE ':memory:' AS kq_club", nullptr, nullptr, nullptr);
  return db;
}

// An in-memory pair with the whole schema.
inline Db schema_pair() {
  Db db = empty_pair();
  auto ok = schema::create_schema(db.get());
  EXPECT_TRUE(ok) << ok.error();
  return db;
}

inline Db open_raw(const std::filesystem::path& p) {
  sqlite3* raw = nullptr;
  sqlite3_open(p.c_str(), &raw);
  return Db(raw);
}

inline void exec(sqlite3* db, const std::string& sql) {
  char* err = nullptr;
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err);
  ASSERT_EQ(rc, SQLITE_OK) << sql << ": " << (err ? err : "");
  sqlite3_free(err);
}

// Every row of a query, each value as text ("<null>" for NULL).
inline std::vector<std::vector<std::string>> rows(sqlite3* db, const std::string& sql) {
  std::vector<std::vector<std::string>> out;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
    return out;
  }
  while (sqlite3_step(st) == SQLITE_ROW) {
    std::vector<std::string> row;
    for (int i = 0; i < sqlite3_column_count(st); ++i) {
      const unsigned char* t = sqlite3_column_text(st, i);
      row.push_back(t ? reinterpret_cast<const char*>(t) : "<null>");
    }
    out.push_back(std::move(row));
  }
  sqlite3_finalize(st);
  return out;
}

// The first value of the first row, as text ("" when there is no row).
inline std::string text(sqlite3* db, const std::string& sql) {
  auto r = rows(db, sql);
  return r.empty() || r[0].empty() ? std::string() : r[0][0];
}

inline long long number(sqlite3* db, const std::string& sql) {
  std::string t = text(db, sql);
  return t.empty() || t == "<null>" ? -1 : std::stoll(t);
}

// A fresh folder below /tmp, removed with everything in it at the end.
class TempDir {
 public:
  TempDir() {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("kq_data_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace kq::testing
