#include "data/transfer/shop_tables.h"

#include <algorithm>

#include "platform/value/text.h"

namespace kq::data {
namespace {

// Where a server keeps the schema's version (a file keeps it in its header):
// the target's own, never copied.
constexpr std::string_view kSchemaVersionTable = "kq_schema_version";
// A file names the club's tables kq_club_<table>.
const std::string kClubPrefixInFile = "kq_club_";

bool is_sqlite(db::Connection& c) { return c.dialect().name() == "sqlite"; }
bool is_postgresql(db::Connection& c) { return text::iequals(c.dialect().name(), "postgresql"); }

Result<void> run_native(db::Connection& connection, const std::string& sql) {
  auto rows = native_rows(connection, sql);
  if (!rows) return make_error(rows.error());
  return {};
}

std::string quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'') q += '\'';
    q += c;
  }
  return q + "'";
}

}  // namespace

Result<std::vector<std::vector<Value>>> native_rows(db::Connection& connection, const std::string& sql) {
  auto st = connection.prepare(sql);
  if (!st) return make_error(sql + ": " + st.error());
  std::vector<std::vector<Value>> out;
  for (;;) {
    auto more = (*st)->step();
    if (!more) return make_error(sql + ": " + more.error());
    if (!*more) break;
    std::vector<Value> row(static_cast<size_t>((*st)->column_count()));
    (*st)->read_row(row);
    out.push_back(std::move(row));
  }
  (*st)->reset();
  return out;
}

std::string native_name(db::Connection& connection, const ShopTable& table) {
  if (!table.club) return table.name;
  return (is_sqlite(connection) ? kClubPrefixInFile : std::string("kq_club.")) + table.name;
}

Result<std::vector<ShopTable>> list_shop_tables(db::Connection& connection) {
  std::vector<ShopTable> tables;
  auto add = [&](std::string name, bool club) {
    if (name != kSchemaVersionTable) tables.push_back(ShopTable{std::move(name), club});
  };
  if (is_sqlite(connection)) {
    auto rows = native_rows(connection, "SELECT name FROM main.sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite_%'");
    if (!rows) return make_error(rows.error());
    for (const auto& row : *rows) {
      std::string name = text::lower(row[0].as_string().value_or(""));
      const bool club = name.starts_with(kClubPrefixInFile);
      add(club ? name.substr(kClubPrefixInFile.size()) : name, club);
    }
  } else if (is_postgresql(connection)) {
    for (bool club : {false, true}) {
      auto rows = native_rows(connection,
                              std::string("SELECT table_name FROM information_schema.tables WHERE table_type = "
                                          "'BASE TABLE' AND table_schema = ") +
                                  (club ? "'kq_club'" : "current_schema()"));
      if (!rows) return make_error(rows.error());
      for (const auto& row : *rows) add(text::lower(row[0].as_string().value_or("")), club);
    }
  } else {
    return make_error("the tables of a " + std::string(connection.dialect().name()) + " database cannot be listed");
  }
  std::sort(tables.begin(), tables.end());
  return tables;
}

Result<std::map<std::string, int64_t>> read_id_counters(db::Connection& connection) {
  std::map<std::string, int64_t> counters;
  if (is_sqlite(connection)) {
    auto rows = native_rows(connection, "SELECT name, seq FROM main.sqlite_sequence");
    if (!rows) return make_error(rows.error());
    for (const auto& row : *rows) {
      const std::string name = text::lower(row[0].as_string().value_or(""));
      const bool club = name.starts_with(kClubPrefixInFile);
      counters[club ? "kq_club." + name.substr(kClubPrefixInFile.size()) : name] = row[1].as_long().value_or(0);
    }
    return counters;
  }
  if (is_postgresql(connection)) {
    auto rows = native_rows(
        connection,
        "SELECT CASE WHEN table_schema = 'kq_club' THEN 'kq_club.' ELSE '' END || table_name, "
        "pg_get_serial_sequence(quote_ident(table_schema) || '.' || quote_ident(table_name), column_name) FROM "
        "information_schema.columns WHERE (table_schema = current_schema() OR table_schema = 'kq_club') AND "
        "pg_get_serial_sequence(quote_ident(table_schema) || '.' || quote_ident(table_name), column_name) IS NOT NULL");
    if (!rows) return make_error(rows.error());
    for (const auto& row : *rows) {
      const std::string sequence = row[1].as_string().value_or("");
      auto last = native_rows(connection, "SELECT CASE WHEN is_called THEN last_value ELSE 0 END FROM " + sequence);
      if (!last) return make_error(last.error());
      counters[row[0].as_string().value_or("")] = last->empty() ? 0 : (*last)[0][0].as_long().value_or(0);
    }
    return counters;
  }
  return make_error("the id counters of a " + std::string(connection.dialect().name()) + " database are unknown");
}

Result<void> write_id_counters(db::Connection& connection, const std::map<std::string, int64_t>& counters) {
  for (const auto& [table, last] : counters) {
    const bool club = table.starts_with("kq_club.");
    const std::string name = club ? table.substr(8) : table;
    if (is_sqlite(connection)) {
      const std::string seq = "main.sqlite_sequence";
      const std::string name_in_file = club ? kClubPrefixInFile + name : name;
      // The row exists once the table had an insert; otherwise it is made here.
      if (auto r = run_native(connection, "UPDATE " + seq + " SET seq = max(seq, " + std::to_string(last) +
                                              ") WHERE name = " + quoted(name_in_file));
          !r)
        return r;
      if (auto r = run_native(connection, "INSERT INTO " + seq + " (name, seq) SELECT " + quoted(name_in_file) + ", " +
                                              std::to_string(last) + " WHERE NOT EXISTS (SELECT 1 FROM " + seq +
                                              " WHERE name = " + quoted(name_in_file) + ")");
          !r)
        return r;
    } else if (is_postgresql(connection)) {
      const std::string qualified = club ? "kq_club." + name : name;
      // The next id follows the larger of the counter and the table's highest id.
      if (auto r = run_native(connection, "SELECT setval(pg_get_serial_sequence(" + quoted(qualified) +
                                              ", 'id'), greatest(x, 1), x > 0) FROM (SELECT greatest(" +
                                              std::to_string(last) + ", (SELECT coalesce(max(id), 0) FROM " +
                                              qualified + ")) AS x) m");
          !r)
        return r;
    } else {
      return make_error("the id counters of a " + std::string(connection.dialect().name()) + " database are unknown");
    }
  }
  return {};
}

}  // namespace kq::data
