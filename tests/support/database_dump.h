#pragma once
// The whole content of a shop database and its club database, as text, for
// tests that prove a failed unit of work left nothing behind: every table of
// both files, every row in rowid order, every column with its stored type.
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kq::testing {

inline std::string dump_database(const std::filesystem::path& shop_db) {
  sqlite3* db = nullptr;
  std::string out;
  if (sqlite3_open_v2(shop_db.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return "<cannot open " + shop_db.string() + ">";
  }
  const std::string club = (shop_db.parent_path() / "kq_club.db").string();
  sqlite3_stmt* attach = nullptr;
  sqlite3_prepare_v2(db, "ATTACH DATABASE ? AS kq_club", -1, &attach, nullptr);
  sqlite3_bind_text(attach, 1, club.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_step(attach);
  sqlite3_finalize(attach);

  auto rows = [&](const std::string& sql, auto&& each) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
      out += "<error " + sql + ": " + sqlite3_errmsg(db) + ">\n";
      return;
    }
    while (sqlite3_step(st) == SQLITE_ROW) each(st);
    sqlite3_finalize(st);
  };
  for (const char* schema : {"main", "kq_club"}) {
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
