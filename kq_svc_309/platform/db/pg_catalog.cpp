#include "platform/db/pg_catalog.h"

#include <cstdlib>

#include "platform/db/pg_types.h"
#include "platform/value/text.h"

namespace kq::db {

void PgCatalog::load() const {
  columns_.clear();
  loaded_ = true;
  PGresult* r = PQexec(conn_,
                       "select case when n.nspname = 'kq_club' then 'kq_club.' else '' end || c.relname || '.' || "
                       "a.attname, a.atttypid, a.atttypmod "
                       "from pg_attribute a join pg_class c on c.oid = a.attrelid "
                       "join pg_namespace n on n.oid = c.relnamespace "
                       "where c.relkind in ('r', 'v', 'm', 'p') and a.attnum > 0 and not a.attisdropped "
                       "and (n.nspname = 'kq_club' or n.nspname = current_schema())");
  if (PQresultStatus(r) == PGRES_TUPLES_OK) {
    for (int i = 0; i < PQntuples(r); ++i) {
      auto info = pg::column_info(static_cast<pg::Oid>(std::strtoul(PQgetvalue(r, i, 1), nullptr, 10)),
                                  std::atoi(PQgetvalue(r, i, 2)));
      if (info) columns_.emplace(text::lower(PQgetvalue(r, i, 0)), *info);
    }
  } else {
    loaded_ = false;  // tried again on the next look-up
  }
  PQclear(r);
}

std::optional<ColumnInfo> PgCatalog::column(std::string_view table, std::string_view column) const {
  if (!loaded_) load();
  std::string key = text::lower(table);
  key += '.';
  key += text::lower(column);
  auto it = columns_.find(key);
  if (it == columns_.end()) return std::nullopt;
  return it->second;
}

}  // namespace kq::db
