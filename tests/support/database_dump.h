#pragma once
// The whole content of a shop database (the club tables included), as text,
// for tests that prove a failed unit of work left nothing behind: every table,
// every row in rowid order, every column with its stored type.
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kq::testing {

inline std::string dump_database(const std::filesystem::path& shop_db) {
  sqlite3* db = nullptr;
  std::string out;
  // Read-write: a reader of a write-ahead log needs its shared-memory index.
  if (sqlite3_open_v2(shop_db.string().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return "<cannot open " + shop_db.string() + ">";
  }

  auto rows = [&](const std::string& sql, auto&& each) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
      out += "<error " + sql + ": " + sqlite3_errmsg(db) + ">\n";
      return;
    }
    while (sqlite3_step(st) == SQLITE_ROW) each(st);
    sqlite3_finalize(st);
  };
  for (const char* schema : {"main"}) {
    std::vector<std::string> tables;
    rows(std::string("select name from ") + schema + ".sqlite_master where type = 'table' and name not like 'sqlite_%' order by name",
         [&](sqlite3_stmt* st) { tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))); });
    for (const std::string& t : tables) {
      out += std::string("== ") + schema + "." + t + "\n";
      rows("select * from " + std::string(schema) + ".\"" + t + "\" order by rowid", [&](sqlite3_stmt* st) {
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
          if (c) out += '|';
          switch (sqlite3_column_type(st, c)) {
            case SQLITE_NULL: out += "NULL"; break;
            case SQLITE_BLOB: out += "blob:" + std::to_string(sqlite3_column_bytes(st, c)); break;
            default: out += reinterpret_cast<const char*>(sqlite3_column_text(st, c));
          }
        }
        out += '\n';
      });
    }
  }
  sqlite3_close(db);
  return out;
}

}  // namespace kq::testing
