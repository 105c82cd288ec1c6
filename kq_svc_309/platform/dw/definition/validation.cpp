#include "platform/dw/definition/validation.h"

#include <algorithm>
#include <map>
#include <set>

#include "platform/dw/definition/global_functions.h"
#include "platform/dw/definition/names.h"
#include "platform/dw/expression/computed_fields.h"
#include "platform/dw/expression/expression.h"
#include "platform/value/text.h"

namespace kq::dw {
namespace {

using Kind = ObjectDef::Kind;

bool ident_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}

void check_names(const Definition& def, LoadErrors& errors) {
  std::map<std::string, int> columns;
  for (const ColumnDef& c : def.columns) {
    if (!columns.emplace(c.name, c.pos.line).second)
      errors.add(c.pos.line, "column '" + c.name + "' is declared twice (first on line " +
                                 std::to_string(columns[c.name]) + ")");
  }
  std::set<std::string> arguments;
  for (const ArgumentDef& a : def.arguments) {
    if (!arguments.insert(a.name).second) errors.add(a.pos.line, "argument '" + a.name + "' is declared twice");
    if (columns.count(a.name)) errors.add(a.pos.line, "argument '" + a.name + "' has the name of a column");
  }
  std::map<std::string, int> objects;
  for (const ObjectDef* o : def.objects()) {
    if (o->name.empty()) continue;
    auto [it, fresh] = objects.emplace(o->name, o->pos.line);
    if (!fresh)
      errors.add(o->pos.line, "object name '" + o->name + "' is used twice (first on line " + std::to_string(it->second) +
                                  ")" + (o->kind == Kind::Column ? "; give the second field a 'name'" : ""));
    if (o->kind == Kind::Compute && (columns.count(o->name) || arguments.count(o->name)))
      errors.add(o->pos.line, "computed field '" + o->name + "' has the name of a column or argument");
  }
}

void check_columns_shown(const Definition& def, LoadErrors& errors) {
  std::set<std::string> grid_columns;
  for (const ObjectDef* o : def.objects()) {
    if (o->kind != Kind::Column) continue;
    if (!o->column.empty() && !def.find_column(o->column))
      errors.add(o->pos.line, "object '" + o->name + "' shows the unknown column '" + o->column + "'");
    if (def.style == Definition::Style::Grid && def.band_of(*o) == &def.detail) grid_columns.insert(o->column);
    if (o->edit == EditStyle::CheckBox && o->checkbox_on == o->checkbox_off)
      errors.add(o->pos.line, "check box '" + o->name + "' has the same 'on' and 'off' value");
  }
  for (const RowDef& row : def.footer.rows)
    for (const ObjectDef& o : row.objects)
      if (!o.under.empty() && !grid_columns.count(o.under))
        errors.add(o.pos.line, "footer object '" + o.name + "' stands under '" + o.under + "', which is no shown grid column");
}

void check_update(const Definition& def, const DefinitionLines& lines, LoadErrors& errors) {
  bool any_update = false, any_key = false;
  for (const ColumnDef& c : def.columns) {
    any_update = any_update || !c.db_name.empty();
    any_key = any_key || c.key;
    if (c.key && c.db_name.empty()) errors.add(c.pos.line, "key column '" + c.name + "' needs 'update', the table column it is");
  }
  if (def.update_table.empty()) {
    if (any_update || any_key)
      errors.add(lines.update, "columns name update targets, but the definition has no 'update: {table: ...}'");
    return;
  }
  if (!any_update) errors.add(lines.update, "update table '" + def.update_table + "' but no column has 'update'");
  if (!any_key) errors.add(lines.update, "update table '" + def.update_table + "' but no column is a 'key'");
}

void check_query(const Definition& def, const DefinitionLines& lines, LoadErrors& errors) {
  for (const std::string& p : query_placeholders(def.query)) {
    bool known = std::any_of(def.arguments.begin(), def.arguments.end(), [&](const ArgumentDef& a) { return a.name == p; });
    if (!known) errors.add(lines.query, "the query uses ':" + p + "', which is no retrieval argument");
  }
}

int line_of_compute(const Definition& def, std::string_view name) {
  for (const ObjectDef* o : def.computes())
    if (o->name == name) return o->pos.line;
  return 1;
}

void check_expressions(const Definition& def, const LoadOptions& options, LoadErrors& errors) {
  expr::NameTable names = expression_names(def, options.functions ? options.functions : &global_functions());
  const auto computes = def.computes();
  std::vector<std::vector<std::size_t>> reads(computes.size());
  std::vector<std::string> compute_names;
  bool computes_ok = true;
  for (std::size_t i = 0; i < computes.size(); ++i) {
    const ObjectDef& o = *computes[i];
    compute_names.push_back(o.name);
    if (text::trim(o.expression).empty()) {
      computes_ok = false;
      continue;
    }
    auto e = expr::compile(o.expression, names);
    if (!e) {
      errors.add(o.pos.line, "computed field '" + o.name + "': " + e.error());
      computes_ok = false;
      continue;
    }
    reads[i] = e->computed_fields();
  }
  if (computes_ok) {
    if (auto r = expr::check_computed_cycles(reads, compute_names); !r) {
      std::string first = r.error().substr(r.error().find(": ") + 2);
      first = first.substr(0, first.find(" -> "));
      errors.add(line_of_compute(def, first), r.error());
    }
  }
  if (!def.range.empty()) {
    if (auto e = expr::compile(def.range, names); !e) errors.add(def.range_line, "range: " + e.error());
  }
  for (const ObjectDef* o : def.objects()) {
    auto check = [&](const std::string& text, const std::string& what) {
      if (text.empty()) return;
      if (auto e = expr::compile(text, names); !e) errors.add(o->pos.line, "object '" + o->name + "' " + what + ": " + e.error());
    };
    check(o->visible, "visible");
    check(o->protect_expression, "protect");
    for (std::size_t i = 0; i < o->arguments.size(); ++i) check(o->arguments[i], "argument " + std::to_string(i + 1));
  }
}

void check_nested(const Definition& def, const LoadOptions& options, LoadErrors& errors) {
  for (const ObjectDef* o : def.objects()) {
    if (o->kind != Kind::Report || o->dataobject.empty()) continue;
    if (o->dataobject == def.name) {
      errors.add(o->pos.line, "report '" + o->name + "' nests its own definition");
      continue;
    }
    auto nested = options.nested(o->dataobject);
    if (!nested) {
      errors.add(o->pos.line, "report '" + o->name + "': " + nested.error());
      continue;
    }
    std::size_t takes = (*nested)->arguments.size();
    if (takes != o->arguments.size())
      errors.add(o->pos.line, "report '" + o->name + "' passes " + std::to_string(o->arguments.size()) +
                                  " argument(s), but '" + o->dataobject + "' takes " + std::to_string(takes));
  }
}

}  // namespace

std::vector<std::string> query_placeholders(std::string_view sql) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < sql.size(); ++i) {
    char c = sql[i];
    if (c == '\'' || c == '"') {
      for (++i; i < sql.size(); ++i) {
        if (sql[i] != c) continue;
        if (i + 1 < sql.size() && sql[i + 1] == c) ++i;
        else break;
      }
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      while (i < sql.size() && sql[i] != '\n') ++i;
    } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      auto end = sql.find("*/", i + 2);
      i = end == std::string_view::npos ? sql.size() : end + 1;
    } else if (c == ':' && i + 1 < sql.size() && ident_char(sql[i + 1]) && (i == 0 || sql[i - 1] != ':')) {
      std::size_t j = i + 1;
      while (j < sql.size() && ident_char(sql[j])) ++j;
      std::string name = text::lower(sql.substr(i + 1, j - i - 1));
      if (std::find(out.begin(), out.end(), name) == out.end()) out.push_back(name);
      i = j - 1;
    }
  }
  return out;
}

void validate_definition(const Definition& def, std::string_view expected_name, const DefinitionLines& lines,
                         const LoadOptions& options, LoadErrors& errors) {
  if (!def.name.empty() && def.name != text::lower(expected_name))
    errors.add(lines.name, "the definition is named '" + def.name + "' but its file is '" + std::string(expected_name) +
                               ".yaml'");
  check_names(def, errors);
  check_columns_shown(def, errors);
  check_update(def, lines, errors);
  check_query(def, lines, errors);
  check_expressions(def, options, errors);
  check_nested(def, options, errors);
}

}  // namespace kq::dw
