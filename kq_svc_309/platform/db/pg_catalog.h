#pragma once
// The Catalog of a PostgreSQL database: the columns of the tables and views
// of the connection's current schema ("svcb20c") and of the schema kq_club
// ("kq_club.club01c"), read in one query on first use and kept until
// refresh().
#include <map>
#include <string>

#include "libpq-fe.h"
#include "platform/db/dialect/catalog.h"

namespace kq::db {

class PgCatalog final : public Catalog {
 public:
  explicit PgCatalog(PGconn* conn) : conn_(conn) {}
  std::optional<ColumnInfo> column(std::string_view table, std::string_view column) const override;
  void refresh() { loaded_ = false; }

 private:
  void load() const;
  PGconn* conn_;
  mutable bool loaded_ = false;
  mutable std::map<std::string, ColumnInfo, std::less<>> columns_;  // "table.column", "kq_club.table.column"
};

}  // namespace kq::db
