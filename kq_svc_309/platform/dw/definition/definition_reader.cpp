#include "platform/dw/definition/definition_reader.h"

#include "platform/dw/definition/yaml_map.h"
#include "platform/value/text.h"

namespace kq::dw {
namespace {

std::optional<int> parenthesised(std::string_view t, std::string_view prefix) {
  if (t.size() < prefix.size() + 3 || t.substr(0, prefix.size()) != prefix) return std::nullopt;
  std::string_view rest = t.substr(prefix.size());
  if (rest.front() != '(' || rest.back() != ')') return std::nullopt;
  auto n = parse_number(rest.substr(1, rest.size() - 2));
  if (!n || *n < 0 || *n > 100000 || *n != static_cast<double>(static_cast<int>(*n))) return std::nullopt;
  return static_cast<int>(*n);
}

void read_arguments(const YAML::Node& node, Definition& def, LoadErrors& errors, int line) {
  if (!node.IsSequence()) {
    if (!node.IsNull()) errors.add(line, "'arguments' must be a list");
    return;
  }
  for (const YAML::Node& item : node) {
    YamlMap m(item, "argument", {"name", "type"}, errors, line);
    if (!m.ok()) continue;
    ArgumentDef a;
    a.pos.file = errors.file();
    a.pos.line = m.line();
    auto name = m.text("name");
    if (!name || name->empty()) {
      if (!name) errors.add(m.line(), "an argument needs a 'name'");
      else errors.add(m.line(), "an argument needs a non-empty 'name'");
      continue;
    }
    a.name = text::lower(*name);
    if (auto t = m.choice("type", {"string", "long", "number", "decimal", "datetime"})) {
      if (*t == "string") a.type = Type::String;
      else if (*t == "long" || *t == "number") a.type = Type::Long;
      else if (*t == "decimal") a.type = Type::Decimal;
      else a.type = Type::DateTime;
    }
    def.arguments.push_back(std::move(a));
  }
}

void read_columns(const YAML::Node& node, Definition& def, LoadErrors& errors, int line) {
  if (!node.IsSequence() || node.size() == 0) {
    errors.add(line, "'columns' must be a non-empty list");
    return;
  }
  for (const YAML::Node& item : node) {
    YamlMap m(item, "column", {"name", "type", "update", "key", "initial"}, errors, line);
    if (!m.ok()) continue;
    ColumnDef c;
    c.pos.file = errors.file();
    c.pos.line = m.line();
    auto name = m.text("name");
    if (!name || name->empty()) {
      errors.add(m.line(), "a column needs a 'name'");
      continue;
    }
    c.name = text::lower(*name);
    auto type = m.text("type");
    if (!type) {
      if (!m.has("type")) errors.add(m.line(), "column '" + c.name + "' needs a 'type'");
    } else if (auto t = parse_column_type(*type)) {
      c.type = t->type;
      c.length = t->length;
      c.scale = t->scale;
    } else {
      errors.add(m.line("type"), "column '" + c.name + "' has the unknown type '" + *type +
                                     "' (char(n), varchar(n), long, number, decimal(n) or datetime)");
    }
    if (m.has("update")) {
      YAML::Node u = m.node("update");
      auto as_flag = u.IsScalar() ? parse_flag(u.Scalar()) : std::nullopt;
      if (as_flag) {
        if (*as_flag) c.db_name = c.name;
      } else if (auto t = m.text("update")) {
        c.db_name = text::lower(text::trim(*t));
      }
    }
    c.key = m.flag("key").value_or(false);
    if (m.has("initial")) {
      YAML::Node v = m.node("initial");
      if (!v.IsScalar()) {
        errors.add(m.line("initial"), "'initial' of column '" + c.name + "' must be a single value");
      } else {
        auto conv = Value(v.Scalar()).converted_to(c.type);
        if (!conv || conv->is_null()) errors.add(m.line("initial"), "'initial' of column '" + c.name + "' is no " +
                                                                    std::string(type_name(c.type)) + ": '" + v.Scalar() + "'");
        else c.initial = *conv;
      }
    }
    def.columns.push_back(std::move(c));
  }
}

void read_computes(const YAML::Node& node, Definition& def, LoadErrors& errors, int line) {
  if (!node.IsSequence()) {
    if (!node.IsNull()) errors.add(line, "'computes' must be a list");
    return;
  }
  for (const YAML::Node& item : node) {
    YamlMap m(item, "computed field", {"name", "expression", "format"}, errors, line);
    if (!m.ok()) continue;
    ObjectDef o;
    o.kind = ObjectDef::Kind::Compute;
    o.pos.file = errors.file();
    o.pos.line = m.line();
    o.name = text::lower(m.text("name").value_or(""));
    o.expression = m.text("expression").value_or("");
    o.format = m.text("format").value_or("");
    o.visible = std::string(1, '0');
    if (o.name.empty()) errors.add(m.line(), "a computed field needs a 'name'");
    if (text::trim(o.expression).empty()) errors.add(m.line(), "computed field '" + o.name + "' needs an 'expression'");
    def.hidden_computes.push_back(std::move(o));
  }
}

}  // namespace

std::optional<ColumnType> parse_column_type(std::string_view t0) {
  std::string t = text::lower(text::trim(t0));
  std::string compact;
  for (char ch : t)
    if (ch != ' ') compact += ch;
  if (auto n = parenthesised(compact, "char")) return ColumnType{Type::String, *n, 0};
  if (auto n = parenthesised(compact, "varchar")) return ColumnType{Type::String, *n, 0};
  if (auto n = parenthesised(compact, "decimal")) {
    if (*n > Decimal::kScale) return std::nullopt;
    return ColumnType{Type::Decimal, 0, *n};
  }
  if (compact == "long" || compact == "number") return ColumnType{Type::Long, 0, 0};
  if (compact == "datetime") return ColumnType{Type::DateTime, 0, 0};
  return std::nullopt;
}

void read_definition(const YAML::Node& root, Definition& def, LoadErrors& errors, DefinitionLines& lines) {
  YamlMap m(root, "definition",
            {"name", "style", "title", "range", "font", "page", "arguments", "query", "columns", "update", "computes", "grid",
             "header", "detail", "summary", "footer"},
            errors, 1);
  if (!m.ok()) return;
  def.file = errors.file();
  lines.name = m.has("name") ? m.line("name") : m.line();
  lines.query = m.has("query") ? m.line("query") : m.line();
  lines.update = m.has("update") ? m.line("update") : m.line();

  auto name = m.text("name");
  if (!name) {
    if (!m.has("name")) errors.add(m.line(), "the definition needs a 'name'");
  } else {
    def.name = text::lower(text::trim(*name));
  }
  if (!m.has("style")) {
    errors.add(m.line(), "the definition needs a 'style' (grid, form or report)");
  } else if (auto s = m.choice("style", {"grid", "form", "report"})) {
    def.style = *s == "grid" ? Definition::Style::Grid : (*s == "form" ? Definition::Style::Form : Definition::Style::Report);
  }
  def.title = m.text("title").value_or("");
  if (m.has("range")) {
    def.range = m.text("range").value_or("");
    def.range_line = m.line("range");
  }
  if (auto f = m.number("font")) def.font_pt = *f;
  if (m.has("page")) {
    YamlMap p(m.node("page"), "page", {"width", "height", "landscape"}, errors, m.line("page"));
    if (auto w = p.number("width")) def.page_width_mm = *w;
    if (auto h = p.number("height")) def.page_height_mm = *h;
    if (auto l = p.flag("landscape")) def.landscape = *l;
  }
  if (m.has("arguments")) read_arguments(m.node("arguments"), def, errors, m.line("arguments"));
  if (auto q = m.text("query")) def.query = *q;
  if (text::trim(def.query).empty()) errors.add(m.has("query") ? m.line("query") : m.line(), "the definition needs a 'query'");
  if (m.has("columns")) read_columns(m.node("columns"), def, errors, m.line("columns"));
  else errors.add(m.line(), "the definition needs 'columns'");
  if (m.has("update")) {
    YamlMap u(m.node("update"), "update", {"table"}, errors, m.line("update"));
    def.update_table = text::lower(text::trim(u.text("table").value_or("")));
    if (u.ok() && def.update_table.empty()) errors.add(u.line(), "'update' needs a 'table'");
  }
  if (m.has("computes")) read_computes(m.node("computes"), def, errors, m.line("computes"));

  int unnamed_texts = 0;
  const bool grid = def.style == Definition::Style::Grid;
  if (grid) {
    for (const char* band : {"header", "detail", "summary"})
      if (m.has(band)) errors.add(m.line(band), std::string("a grid takes 'grid' and 'footer', not '") + band + "'");
    if (m.has("grid")) read_grid(m.node("grid"), def, errors);
    else errors.add(m.line(), "a grid definition needs 'grid', the list of its shown columns");
    if (m.has("footer")) read_grid_footer(m.node("footer"), def, errors, unnamed_texts);
  } else {
    if (m.has("grid")) errors.add(m.line("grid"), "'grid' belongs to grid definitions only");
    if (m.has("header")) read_band(m.node("header"), def.header, "header", errors, unnamed_texts);
    if (m.has("detail")) read_band(m.node("detail"), def.detail, "detail", errors, unnamed_texts);
    if (m.has("summary")) read_band(m.node("summary"), def.summary, "summary", errors, unnamed_texts);
    if (m.has("footer")) read_band(m.node("footer"), def.footer, "footer", errors, unnamed_texts);
  }
}

}  // namespace kq::dw
