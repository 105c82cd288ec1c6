// Objects of the presentation: band objects of forms and reports, grid
// columns and grid footer objects.
#include <initializer_list>
#include "platform/dw/definition/concat.h"

#include "platform/dw/definition/definition_reader.h"
#include "platform/dw/definition/yaml_map.h"
#include "platform/value/text.h"

namespace kq::dw {
namespace {

using Kind = ObjectDef::Kind;

constexpr std::string_view kBandObjectKeys[] = {
    "text",  "column", "compute", "report", "picture", "line",   "name",  "expression", "dataobject",
    "arguments", "file", "format", "codetable", "checkbox", "radio", "edit", "visible", "width",
    "align", "font", "bold", "border", "protect"};
constexpr std::string_view kGridColumnKeys[] = {
    "column", "name",  "heading", "width", "format", "codetable", "checkbox", "radio", "edit",
    "visible", "align", "font",   "bold",  "border", "protect",   "total"};
constexpr std::string_view kGridFooterKeys[] = {
    "under", "text", "compute", "expression", "name", "format", "visible", "width", "align", "font", "bold", "border"};

void read_codetable(const YamlMap& m, ObjectDef& o) {
  if (!m.has("codetable")) return;
  YAML::Node t = m.node("codetable");
  if (!t.IsSequence()) {
    m.errors().add(m.line("codetable"), "'codetable' must be a list of [shown, data] pairs");
    return;
  }
  for (const YAML::Node& e : t) {
    if (!e.IsSequence() || e.size() != 2 || !(e[0].IsScalar() || e[0].IsNull()) ||
        !(e[1].IsScalar() || e[1].IsNull())) {
      m.errors().add(line_of(e, m.line("codetable")), "a code table entry must be a pair [shown, data]");
      continue;
    }
    o.codetable.push_back(CodeEntry{e[0].IsNull() ? "" : e[0].Scalar(), e[1].IsNull() ? "" : e[1].Scalar()});
  }
}

void read_edit_style(const YamlMap& m, ObjectDef& o) {
  read_codetable(m, o);
  if (!o.codetable.empty()) o.edit = EditStyle::DropDown;
  if (m.has("checkbox")) {
    YAML::Node c = m.node("checkbox");
    auto flag = c.IsScalar() ? parse_flag(c.Scalar()) : std::nullopt;
    if (flag) {
      if (*flag) o.edit = EditStyle::CheckBox;
    } else {
      YamlMap cb(c, "checkbox", {"text", "on", "off"}, m.errors(), m.line("checkbox"));
      if (cb.ok()) {
        o.edit = EditStyle::CheckBox;
        o.checkbox_text = cb.text("text").value_or("");
        if (auto on = cb.text("on")) o.checkbox_on = *on;
        if (auto off = cb.text("off")) o.checkbox_off = *off;
      }
    }
  }
  if (m.flag("radio").value_or(false)) {
    o.edit = EditStyle::Radio;
    if (o.codetable.empty()) m.errors().add(m.line("radio"), "a radio choice needs a 'codetable'");
  }
  if (auto e = m.choice("edit", {"edit", "dropdown", "display"})) {
    o.edit = *e == "edit" ? EditStyle::Edit : (*e == "dropdown" ? EditStyle::DropDown : EditStyle::Display);
  }
}

void read_layout(const YamlMap& m, ObjectDef& o) {
  o.format = m.text("format").value_or("");
  if (m.has("visible")) {
    o.visible = text::trim(m.text("visible").value_or(""));
    if (o.visible.empty()) m.errors().add(m.line("visible"), "'visible' must be 0, 1 or an expression");
  }
  if (auto w = m.number("width")) o.width_mm = *w;
  if (auto a = m.choice("align", {"left", "center", "right"}))
    o.align = *a == "left" ? Align::Left : (*a == "center" ? Align::Center : Align::Right);
  if (auto f = m.number("font")) o.font_pt = *f;
  o.bold = m.flag("bold").value_or(false);
  o.border = m.flag("border").value_or(false);
  if (m.has("protect")) {
    YAML::Node p = m.node("protect");
    auto flag = p.IsScalar() ? parse_flag(p.Scalar()) : std::nullopt;
    if (flag) o.protect = *flag;
    else o.protect_expression = text::trim(m.text("protect").value_or(""));
  }
}

void begin(ObjectDef& o, const YamlMap& m) {
  o.pos.file = m.errors().file();
  o.pos.line = m.line();
}

std::string unnamed_text_name(int& counter) { return "t_" + std::to_string(++counter); }

std::optional<ObjectDef> read_band_object(const YAML::Node& node, LoadErrors& errors, int line, int& unnamed_texts) {
  YamlMap m(node, "object", kBandObjectKeys, errors, line);
  if (!m.ok()) return std::nullopt;
  ObjectDef o;
  begin(o, m);
  int kinds = 0;
  for (const char* k : {"text", "column", "compute", "report", "picture", "line"}) kinds += m.has(k) ? 1 : 0;
  if (kinds != 1) {
    errors.add(m.line(), kinds == 0 ? "an object needs one of text, column, compute, report, picture or line"
                                     : "an object may have only one of text, column, compute, report, picture and line");
    return std::nullopt;
  }
  auto name = m.text("name");
  if (m.has("text")) {
    o.kind = Kind::Text;
    o.text = m.text("text").value_or("");
    o.name = name ? text::lower(*name) : unnamed_text_name(unnamed_texts);
  } else if (m.has("column")) {
    o.kind = Kind::Column;
    o.column = text::lower(text::trim(m.text("column").value_or("")));
    o.name = name ? text::lower(*name) : o.column;
    if (o.column.empty()) errors.add(m.line("column"), "'column' must name a column");
  } else if (m.has("compute")) {
    o.kind = Kind::Compute;
    o.name = text::lower(text::trim(m.text("compute").value_or("")));
    o.expression = m.text("expression").value_or("");
    if (o.name.empty()) errors.add(m.line("compute"), "'compute' must name the computed field");
    if (text::trim(o.expression).empty()) errors.add(m.line(), "computed field '" + o.name + "' needs an 'expression'");
  } else if (m.has("report")) {
    o.kind = Kind::Report;
    o.name = text::lower(text::trim(m.text("report").value_or("")));
    o.dataobject = text::lower(text::trim(m.text("dataobject").value_or("")));
    if (o.dataobject.empty()) errors.add(m.line(), "report '" + o.name + "' needs a 'dataobject'");
    if (m.has("arguments")) {
      YAML::Node args = m.node("arguments");
      if (!args.IsSequence()) {
        errors.add(m.line("arguments"), "'arguments' of a report must be a list of expressions");
      } else {
        for (const YAML::Node& a : args) {
          if (a.IsScalar()) o.arguments.push_back(a.Scalar());
          else errors.add(line_of(a, m.line("arguments")), "a report argument must be an expression");
        }
      }
    }
  } else if (m.has("picture")) {
    o.kind = Kind::Picture;
    o.name = text::lower(text::trim(m.text("picture").value_or("")));
    o.file = m.text("file").value_or("");
  } else {
    o.kind = Kind::Line;
    o.name = text::lower(text::trim(m.text("line").value_or("")));
  }
  if (o.kind != Kind::Text && o.kind != Kind::Column && name)
    errors.add(m.line("name"), "'name' is for text and column objects; this object is named by its kind key");
  if (o.kind != Kind::Compute && m.has("expression")) errors.add(m.line("expression"), "'expression' belongs to computed fields");
  if (o.kind != Kind::Report && (m.has("dataobject") || m.has("arguments")))
    errors.add(m.line(), "'dataobject' and 'arguments' belong to reports");
  if (o.kind != Kind::Picture && m.has("file")) errors.add(m.line("file"), "'file' belongs to pictures");
  if (o.name.empty() && o.kind != Kind::Column) errors.add(m.line(), "the object needs a name");
  read_edit_style(m, o);
  read_layout(m, o);
  return o;
}

}  // namespace

void read_band(const YAML::Node& node, BandDef& band, std::string_view band_name, LoadErrors& errors,
               int& unnamed_texts) {
  const int line = line_of(node);
  if (!node.IsSequence()) {
    if (!node.IsNull()) errors.add(line, concat({"'", band_name, "' must be a list of rows"}));
    return;
  }
  for (const YAML::Node& row_node : node) {
    RowDef row;
    if (row_node.IsMap()) {
      if (auto o = read_band_object(row_node, errors, line, unnamed_texts)) row.objects.push_back(std::move(*o));
    } else if (row_node.IsSequence()) {
      for (const YAML::Node& obj : row_node)
        if (auto o = read_band_object(obj, errors, line_of(row_node, line), unnamed_texts))
          row.objects.push_back(std::move(*o));
    } else {
      errors.add(line_of(row_node, line), "a row of '" + std::string(band_name) + "' must be a list of objects");
      continue;
    }
    band.rows.push_back(std::move(row));
  }
}

void read_grid(const YAML::Node& node, Definition& def, LoadErrors& errors) {
  const int line = line_of(node);
  if (!node.IsSequence() || node.size() == 0) {
    errors.add(line, "'grid' must be a non-empty list of shown columns");
    return;
  }
  RowDef headings, cells, totals;
  for (const YAML::Node& item : node) {
    YamlMap m(item, "grid column", kGridColumnKeys, errors, line);
    if (!m.ok()) continue;
    ObjectDef o;
    begin(o, m);
    o.kind = Kind::Column;
    o.column = text::lower(text::trim(m.text("column").value_or("")));
    if (o.column.empty()) {
      errors.add(m.line(), "a grid column needs 'column'");
      continue;
    }
    o.name = text::lower(m.text("name").value_or(o.column));
    o.heading = m.text("heading").value_or("");
    read_edit_style(m, o);
    read_layout(m, o);

    ObjectDef h;
    h.kind = Kind::Text;
    h.name = o.name + "_t";
    h.text = o.heading;
    h.pos = o.pos;
    h.width_mm = o.width_mm;
    h.align = Align::Center;
    headings.objects.push_back(std::move(h));

    if (m.has("total")) {
      YamlMap t(m.node("total"), "total", {"name", "expression", "format", "visible"}, errors, m.line("total"));
      if (t.ok()) {
        ObjectDef c;
        begin(c, t);
        c.kind = Kind::Compute;
        c.name = text::lower(text::trim(t.text("name").value_or("")));
        c.expression = t.text("expression").value_or("");
        c.format = t.text("format").value_or("");
        c.visible = text::trim(t.text("visible").value_or(""));
        c.under = o.column;
        c.align = Align::Right;
        if (c.name.empty()) errors.add(t.line(), "a total needs a 'name'");
        if (text::trim(c.expression).empty()) errors.add(t.line(), "a total needs an 'expression'");
        totals.objects.push_back(std::move(c));
      }
    }
    cells.objects.push_back(std::move(o));
  }
  def.header.rows.push_back(std::move(headings));
  def.detail.rows.push_back(std::move(cells));
  if (!totals.objects.empty()) def.footer.rows.push_back(std::move(totals));
}

void read_grid_footer(const YAML::Node& node, Definition& def, LoadErrors& errors, int& unnamed_texts) {
  const int line = line_of(node);
  if (!node.IsSequence()) {
    if (!node.IsNull()) errors.add(line, "'footer' of a grid must be a list of objects");
    return;
  }
  if (def.footer.rows.empty()) def.footer.rows.emplace_back();
  RowDef& row = def.footer.rows.front();
  for (const YAML::Node& item : node) {
    YamlMap m(item, "footer object", kGridFooterKeys, errors, line);
    if (!m.ok()) continue;
    ObjectDef o;
    begin(o, m);
    o.under = text::lower(text::trim(m.text("under").value_or("")));
    if (o.under.empty()) errors.add(m.line(), "a footer object needs 'under', the grid column it stands under");
    auto name = m.text("name");
    if (m.has("compute") == m.has("text")) {
      errors.add(m.line(), "a footer object is either a 'text' or a 'compute'");
      continue;
    }
    if (m.has("compute")) {
      o.kind = Kind::Compute;
      o.name = text::lower(text::trim(m.text("compute").value_or("")));
      o.expression = m.text("expression").value_or("");
      if (text::trim(o.expression).empty()) errors.add(m.line(), "computed field '" + o.name + "' needs an 'expression'");
      if (name) errors.add(m.line("name"), "a computed field is named by 'compute'");
    } else {
      o.kind = Kind::Text;
      o.text = m.text("text").value_or("");
      o.name = name ? text::lower(*name) : unnamed_text_name(unnamed_texts);
      if (m.has("expression")) errors.add(m.line("expression"), "'expression' belongs to computed fields");
    }
    read_layout(m, o);
    row.objects.push_back(std::move(o));
  }
}

}  // namespace kq::dw
