#include "framework/f_set_back_value.h"

#include <cctype>
#include <iostream>
#include <string>
#include <vector>

#include "framework/f_msg.h"
#include "framework/session.h"
#include "platform/value/format.h"
#include "platform/value/text.h"

namespace kq::fw {
namespace {

bool is_name(std::string_view s) {
  if (s.empty() || s.size() > 128) return false;
  if (!(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
  for (char c : s)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
  return true;
}

// A table or view, optionally of another database ("kq_club..club01c").
bool is_source(std::string_view s) {
  size_t dots = s.find("..");
  if (dots != std::string_view::npos) return is_name(s.substr(0, dots)) && is_name(s.substr(dots + 2));
  return is_name(s);
}

std::vector<std::string> split(std::string_view list) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    out.push_back(
        text::trim(list.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
    start = comma == std::string_view::npos ? list.size() + 1 : comma + 1;
  }
  return out;
}

int bad(const std::string& why) {
  std::cerr << "kq_svc_309: f_set_back_value: " << why << '\n';
  return -1;
}

}  // namespace

int f_set_back_value(dw::DataWindow& dw, std::string_view source, std::string_view shown, std::string_view headings,
                     std::string_view taken, std::string_view message, std::string_view reserved,
                     std::string_view where, std::string_view filled, std::initializer_list<db::HostVar> values) {
  (void)reserved;
  const auto shown_columns = split(shown), heading_texts = split(headings);
  const auto taken_columns = split(taken), filled_columns = split(filled);
  if (!is_source(source)) return bad("not a table name: " + std::string(source));
  if (shown_columns.size() != heading_texts.size()) return bad("one heading per shown column");
  if (taken_columns.size() != filled_columns.size()) return bad("one filled column per taken column");
  for (const auto* list : {&shown_columns, &taken_columns})
    for (const auto& c : *list)
      if (!is_name(c)) return bad("not a column name: " + c);
  const long row = dw.getrow();
  if (row < 1) return bad("no current row");
  for (const auto& c : filled_columns)
    if (!dw.has_definition() || !dw.definition().find_column(text::lower(c))) return bad("no column " + c);

  // One select of the shown columns followed by those taken.
  std::vector<std::string> columns = shown_columns;
  columns.insert(columns.end(), taken_columns.begin(), taken_columns.end());
  std::string sql = "select ";
  for (size_t i = 0; i < columns.size(); ++i) sql += (i ? ", " : "") + columns[i];
  sql += " from " + std::string(source);
  if (!text::trim(where).empty()) sql += " where " + std::string(where);

  Session& s = session();
  std::vector<db::HostVar> vars(values);
  bool company_given = false;
  for (const auto& v : vars) company_given = company_given || text::iequals(v.name(), "gs_gsh");
  if (!company_given) vars.emplace_back("gs_gsh", s.g.gs_gsh);

  std::vector<std::vector<Value>> rows;
  {
    SqlcaStatusGuard keep(s.sqlca);
    auto cursor = s.sqlca.open_cursor(sql, std::span<const db::HostVar>(vars));
    std::string error = cursor ? "" : cursor.error();
    if (cursor) {
      std::vector<Value> values_of_row(static_cast<size_t>(cursor->column_count()));
      while (cursor->next()) {
        cursor->read_row(values_of_row);
        rows.push_back(values_of_row);
      }
      if (!cursor->ok()) error = cursor->error();
    }
    if (!error.empty()) {
      std::cerr << "kq_svc_309: f_set_back_value: " << sql << ": " << error << '\n';
      f_msg(s.g.gs_tsxx, "读取选择列表失败！", ui::Icon::StopSign);
      return -1;
    }
  }

  if (rows.empty() && !message.empty()) {
    f_msg(s.g.gs_tsxx, message, ui::Icon::Exclamation);
    return 0;
  }
  ui::SelectionList list;
  list.title = "请选择" + heading_texts.front();
  list.columns = shown_columns;
  list.headings = heading_texts;
  for (const auto& r : rows) {
    std::vector<std::string> texts;
    for (size_t i = 0; i < shown_columns.size(); ++i) texts.push_back(format::general(r[i]));
    list.rows.push_back(std::move(texts));
  }
  if (!s.ui) return 0;
  const long chosen = s.ui->select(list);
  if (chosen < 1 || chosen > static_cast<long>(rows.size())) return 0;

  const auto& picked = rows[static_cast<size_t>(chosen - 1)];
  for (size_t i = 0; i < filled_columns.size(); ++i)
    dw.setitem(row, filled_columns[i], picked[shown_columns.size() + i]);
  return 1;
}

}  // namespace kq::fw
