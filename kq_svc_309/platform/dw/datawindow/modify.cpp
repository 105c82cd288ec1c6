// modify() and describe(): the properties window code changes and reads.
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/datawindow/property_text.h"
#include "platform/dw/definition/yaml_map.h"
#include "platform/value/text.h"

namespace kq::dw {
namespace {

using Kind = ObjectDef::Kind;

const char* kind_name(Kind k) {
  switch (k) {
    case Kind::Text: return "text";
    case Kind::Column: return "column";
    case Kind::Compute: return "compute";
    case Kind::Report: return "report";
    case Kind::Picture: return "bitmap";
    case Kind::Line: return "line";
  }
  return "text";
}

std::string column_type_text(const ColumnDef& c) {
  switch (c.type) {
    case Type::String: return "char(" + std::to_string(c.length) + ")";
    case Type::Long: return "long";
    case Type::Decimal: return "decimal(" + std::to_string(c.scale) + ")";
    case Type::DateTime: return "datetime";
    default: return "?";
  }
}

const char* band_name(const Definition& d, const ObjectDef& o) {
  const BandDef* b = d.band_of(o);
  if (b == &d.header) return "header";
  if (b == &d.detail) return "detail";
  if (b == &d.summary) return "summary";
  if (b == &d.footer) return "footer";
  return "";
}

}  // namespace

std::string DataWindow::modify(std::string_view t) {
  if (!bound_) return "modify: no dataobject";
  search_texts_.clear();  // shown columns and texts may change
  auto assignments = parse_modify(t);
  if (!assignments) return "modify: " + assignments.error();
  for (const PropertyAssignment& a : *assignments) {
    const std::string& object = a.target.object;
    const std::string& property = a.target.property;
    if (object == "datawindow") {
      if (property == "readonly") {
        auto flag = parse_flag(a.value);
        if (!flag) return "modify: DataWindow.ReadOnly takes yes or no, not '" + a.value + "'";
        readonly_ = *flag;
      } else {
        properties_["datawindow." + property] = a.value;
      }
      continue;
    }
    const ObjectDef* o = bound_->definition().find_object(object);
    if (!o) return "modify: no object '" + object + "' in " + dataobject_;
    std::string err = modify_object(*o, property, a.value);
    if (!err.empty()) return err;
  }
  return "";
}

std::string DataWindow::modify_object(const ObjectDef& o, const std::string& property, const std::string& value) {
  if (property == "text") {
    if (o.kind != Kind::Text) return "modify: object '" + o.name + "' has no text";
    texts_[o.name] = value;
    return "";
  }
  if (property == "visible") {
    // "default<TAB>expression" (written '0~tif(...)'): the expression decides.
    std::string text = value;
    if (auto tab = text.find('\t'); tab != std::string::npos) text = text.substr(tab + 1);
    text = text::trim(text);
    VisibleOverride v;
    v.text = value;
    if (text == "0" || text == "1") {
      v.shown = text == "1";
    } else {
      auto c = bound_->compile(text);
      if (!c) return "modify: " + o.name + ".visible: " + c.error();
      v.expression = std::move(*c);
    }
    visible_[o.name] = std::move(v);
    return "";
  }
  properties_[o.name + "." + property] = value;
  return "";
}

std::string DataWindow::describe(std::string_view t) const {
  auto refs = parse_describe(t);
  if (!refs) return "!";
  std::string out;
  for (std::size_t i = 0; i < refs->size(); ++i) {
    if (i) out += '\n';
    out += describe_one((*refs)[i].object, (*refs)[i].property);
  }
  return out;
}

std::string DataWindow::describe_one(const std::string& object, const std::string& property) const {
  if (!bound_) return "!";
  const Definition& d = bound_->definition();
  std::string key = object + "." + property;
  if (object == "datawindow") {
    if (property == "readonly") return readonly_ ? "yes" : "no";
    if (property == "table.select") return d.query;
    if (property == "table.updatetable") return d.update_table.empty() ? "?" : d.update_table;
    if (property == "table.filter") return filter_text_.empty() ? "?" : filter_text_;
    if (property == "table.sort") return sort_text_.empty() ? "?" : sort_text_;
    if (property == "column.count") return std::to_string(d.columns.size());
    if (property == "name") return d.name;
    auto it = properties_.find(key);
    return it == properties_.end() ? "!" : it->second;
  }
  const ObjectDef* o = d.find_object(object);
  if (!o) return "!";
  if (auto it = properties_.find(key); it != properties_.end()) return it->second;
  if (property == "name") return o->name;
  if (property == "type") return kind_name(o->kind);
  if (property == "band") return band_name(d, *o);
  if (property == "text") {
    if (o->kind != Kind::Text) return "!";
    auto it = texts_.find(o->name);
    return it == texts_.end() ? o->text : it->second;
  }
  if (property == "visible") {
    auto it = visible_.find(o->name);
    if (it != visible_.end()) return it->second.text;
    return o->visible.empty() ? "1" : o->visible;
  }
  if (property == "expression") return o->kind == Kind::Compute ? o->expression : "!";
  if (property == "format") return o->format.empty() ? "[general]" : o->format;
  if (property == "dataobject") return o->kind == Kind::Report ? o->dataobject : "!";
  const ColumnDef* c = o->kind == Kind::Column ? d.find_column(o->column) : nullptr;
  if (c) {
    if (property == "coltype") return column_type_text(*c);
    if (property == "dbname") return c->db_name.empty() ? "?" : d.update_table + "." + c->db_name;
    if (property == "id") return std::to_string(d.column_index(c->name) + 1);
    if (property == "key") return c->key ? "yes" : "no";
  }
  return "!";
}

}  // namespace kq::dw
