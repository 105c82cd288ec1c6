#include "platform/dw/datawindow/update_sql.h"

namespace kq::dw {
namespace {

std::string add_var(SqlStatement& s, char prefix, const Value& v) {
  std::string name(1, prefix);
  name += std::to_string(s.names.size() + 1);
  s.names.push_back(name);
  s.values.push_back(v);
  return ":" + name;
}

void add_where(SqlStatement& s, const ColumnValues& keys) {
  s.sql += " WHERE ";
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i) s.sql += " AND ";
    if (keys[i].second.is_null()) s.sql += keys[i].first + " IS NULL";
    else s.sql += keys[i].first + " = " + add_var(s, 'k', keys[i].second);
  }
}

}  // namespace

std::vector<db::HostVar> SqlStatement::host_vars() const {
  std::vector<db::HostVar> out;
  out.reserve(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) out.emplace_back(names[i], values[i]);
  return out;
}

SqlStatement insert_sql(std::string_view table, const ColumnValues& values) {
  SqlStatement s;
  std::string cols, vals;
  for (const auto& [col, v] : values) {
    if (!cols.empty()) {
      cols += ", ";
      vals += ", ";
    }
    cols += col;
    vals += add_var(s, 'c', v);
  }
  s.sql = "INSERT INTO " + std::string(table) + " (" + cols + ") VALUES (" + vals + ")";
  return s;
}

SqlStatement update_sql(std::string_view table, const ColumnValues& set, const ColumnValues& keys) {
  SqlStatement s;
  s.sql = "UPDATE " + std::string(table) + " SET ";
  for (std::size_t i = 0; i < set.size(); ++i) {
    if (i) s.sql += ", ";
    s.sql += set[i].first + " = " + add_var(s, 'c', set[i].second);
  }
  add_where(s, keys);
  return s;
}

SqlStatement delete_sql(std::string_view table, const ColumnValues& keys) {
  SqlStatement s;
  s.sql = "DELETE FROM " + std::string(table);
  add_where(s, keys);
  return s;
}

}  // namespace kq::dw
