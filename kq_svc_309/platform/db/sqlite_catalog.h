#pragma once
// The Catalog of an SQLite connection: the columns of tables and views of the
// shop database (main), read with PRAGMA table_info on first use of a table
// and cached until refresh().
//
// Names: "svcb20c", "dbo.svcb20c", "main.svcb20c"; a club table
// "kq_club.club01c", "kq_club..club01c", "kq_club.dbo.club01c" is the shop
// file's table kq_club_club01c, as the dialect names it. Case-insensitive.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/db/dialect/catalog.h"

struct sqlite3;

namespace kq::db {

class SqliteCatalog final : public Catalog {
 public:
  // `db` must outlive the catalog.
  explicit SqliteCatalog(sqlite3* db) : db_(db) {}

  std::optional<ColumnInfo> column(std::string_view table, std::string_view column) const override;
  // Forgets every table read so far.
  void refresh() { tables_.clear(); }

 private:
  using Columns = std::map<std::string, ColumnInfo, std::less<>>;  // lower-case column name
  // The columns of `name` in `schema`; null when no such table or view.
  const Columns* table(std::string_view schema, std::string_view name) const;

  sqlite3* db_;
  // "schema.name" in lower case → columns (null for a table that does not exist).
  mutable std::map<std::string, std::unique_ptr<Columns>, std::less<>> tables_;
};

}  // namespace kq::db
