#include "platform/db/sqlite_catalog.h"

#include <sqlite3.h>

#include <vector>

#include "platform/db/sqlite_storage.h"
#include "platform/value/text.h"

namespace kq::db {

const SqliteCatalog::Columns* SqliteCatalog::table(std::string_view schema, std::string_view name) const {
  std::string key = text::lower(schema) + "." + text::lower(name);
  if (auto it = tables_.find(key); it != tables_.end()) return it->second.get();

  std::unique_ptr<Columns> columns;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db_, "SELECT name, type FROM pragma_table_info(?1, ?2)", -1, &st, nullptr) == SQLITE_OK) {
    sqlite3_bind_text(st, 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 2, schema.data(), static_cast<int>(schema.size()), SQLITE_TRANSIENT);
    while (sqlite3_step(st) == SQLITE_ROW) {
      auto col = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
      auto decl = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
      if (!columns) columns = std::make_unique<Columns>();
      auto info = sqlite::column_info_from_decl(decl ? decl : "");
      if (!col || !info) continue;  // an undeclared column: its kind is unknown
      columns->emplace(text::lower(col), *info);
    }
  }
  sqlite3_finalize(st);
  auto* result = columns.get();
  tables_.emplace(std::move(key), std::move(columns));
  return result;
}

std::optional<ColumnInfo> SqliteCatalog::column(std::string_view table_name, std::string_view column_name) const {
  // Split "db.owner.name" / "db..name" / "owner.name" / "name".
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i <= table_name.size(); ++i) {
    if (i == table_name.size() || table_name[i] == '.') {
      if (i > start) parts.push_back(table_name.substr(start, i - start));
      start = i + 1;
    }
  }
  if (parts.empty() || parts.size() > 3) return std::nullopt;
  std::string_view name = parts.back();
  std::string_view qualifier = parts.size() >= 2 ? parts.front() : std::string_view();
  std::string table_in_main;
  if (qualifier.empty() || (parts.size() == 2 && text::iequals(qualifier, "dbo")) || text::iequals(qualifier, "main")) {
    table_in_main = std::string(name);
  } else if (text::iequals(qualifier, "kq_club")) {
    table_in_main = "kq_club_" + std::string(name);  // the club's tables live in the shop file
  } else {
    return std::nullopt;
  }
  const Columns* cols = table("main", table_in_main);
  if (!cols) return std::nullopt;
  auto it = cols->find(text::lower(column_name));
  if (it == cols->end()) return std::nullopt;
  return it->second;
}

}  // namespace kq::db
