#include "framework/f_recorder_exist.h"

#include <cctype>

#include <string>
#include <vector>

#include "framework/session.h"

namespace kq::fw {
namespace {

// A table or view name: letters, digits and '_', optionally "database..name".
bool is_table_name(std::string_view s) {
  if (s.empty() || s.size() > 128) return false;
  size_t dots = s.find("..");
  if (dots != std::string_view::npos) return is_table_name(s.substr(0, dots)) && is_table_name(s.substr(dots + 2));
  if (!(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
  for (char c : s)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
  return true;
}

}  // namespace

bool f_recorder_exist(std::string_view table, std::string_view condition, std::initializer_list<db::HostVar> values) {
  if (!is_table_name(table)) return false;
  Session& s = session();
  SqlcaStatusGuard keep(s.sqlca);
  Long count;
  std::string sql = "select count(1) into :kq_exist_count from " + std::string(table);
  if (!condition.empty()) sql += " where " + std::string(condition);
  std::vector<db::HostVar> vars(values);
  vars.emplace_back("kq_exist_count", db::out(count));
  s.sqlca.exec(sql, vars);
  return s.sqlca.sqlcode == 0 && count.value_or(0) > 0;
}

}  // namespace kq::fw
