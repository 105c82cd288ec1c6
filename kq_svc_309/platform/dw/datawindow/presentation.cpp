// The Presentation answers: visibility, display texts, check boxes and nested reports.
#include "platform/dw/datawindow/datawindow.h"
#include "platform/value/format.h"

namespace kq::dw {
namespace {

using Kind = ObjectDef::Kind;

// The text a stored value is compared with a code table's or check box's data by.
std::string data_text(const Value& v) { return v.is_decimal() ? v.dec().to_string() : format::general(v); }

bool same_data(const Value& v, const std::string& data) {
  if (v.is_null()) return false;
  if (v.is_number()) {
    auto d = Decimal::parse(data);
    return d && *v.as_decimal() == *d;
  }
  return data_text(v) == data;
}

}  // namespace

Value DataWindow::object_value(const ObjectDef& o, long row) const { return object_value_at(o, row_id(row)); }

Value DataWindow::object_value_at(const ObjectDef& o, expr::RowId id) const {
  if (!bound_) return Value();
  if (o.kind == Kind::Column) {
    int slot = bound_->column(o.column);
    if (slot < 0 || id == expr::kNoRow) return Value();
    return rows_.store.get(static_cast<RowIndex>(id), static_cast<std::size_t>(slot));
  }
  if (o.kind == Kind::Compute) {
    const ObjectExpressions* x = bound_->object(o);
    if (!x || x->computed < 0) return Value();
    return eval_.computed(id, static_cast<std::size_t>(x->computed));
  }
  return Value();
}

bool DataWindow::visible(const ObjectDef& o, long row) const {
  if (!bound_) return false;
  const VisibleOverride* over = nullptr;
  if (auto it = visible_.find(o.name); it != visible_.end()) over = &it->second;
  const Compiled* expression = nullptr;
  if (over) {
    if (!over->expression) return over->shown;
    expression = &*over->expression;
  } else {
    const ObjectExpressions* x = bound_->object(o);
    if (!x || !x->visible) return true;
    expression = &*x->visible;
  }
  // 0 hides; anything else (a null too) shows.
  return expr::truth(eval_.evaluate(*expression, row_id(row))) != expr::Tri::False;
}

std::string DataWindow::display_text(const ObjectDef& o, long row) const { return display_text_at(o, row_id(row)); }

std::string DataWindow::display_text_at(const ObjectDef& o, expr::RowId id) const {
  switch (o.kind) {
    case Kind::Text: {
      auto it = texts_.find(o.name);
      return it == texts_.end() ? o.text : it->second;
    }
    case Kind::Column: {
      if (o.edit == EditStyle::CheckBox) return o.checkbox_text;
      Value v = object_value_at(o, id);
      if (v.is_null()) return "";
      for (const CodeEntry& e : o.codetable)
        if (same_data(v, e.data)) return e.display;
      return format::value(v, o.format);
    }
    case Kind::Compute: return format::value(object_value_at(o, id), o.format);
    default: return "";
  }
}

bool DataWindow::checked(const ObjectDef& o, long row) const {
  if (o.kind != Kind::Column) return false;
  return same_data(object_value(o, row), o.checkbox_on);
}

bool DataWindow::is_protected(const ObjectDef& o, long row) const {
  if (readonly_ || o.protect) return true;
  if (!bound_) return false;
  const ObjectExpressions* x = bound_->object(o);
  if (!x || !x->protect) return false;
  return expr::truth(eval_.evaluate(*x->protect, row_id(row))) == expr::Tri::True;
}

Value DataWindow::evaluate(std::string_view expression, long row) const {
  if (!bound_) return Value();
  auto c = bound_->compile(expression);
  if (!c) return Value();
  return eval_.evaluate(*c, row_id(row));
}

const Presentation* DataWindow::nested(const ObjectDef& o, long row) const {
  if (!bound_ || o.kind != Kind::Report) return nullptr;
  const ObjectExpressions* x = bound_->object(o);
  if (!x) return nullptr;
  std::vector<Value> args;
  for (const Compiled& a : x->arguments) args.push_back(eval_.evaluate(a, row_id(row)));
  const std::string key = call_key(o.name, args);
  if (auto it = nested_.find(key); it != nested_.end()) return it->second.window.get();
  if (archived_ || !trans_) return nullptr;

  auto child = std::make_unique<DataWindow>(functions_, definitions_);
  NestedEntry entry;
  entry.report = o.name;
  entry.arguments = args;
  if (child->dataobject(o.dataobject) == 1) {
    child->settransobject(*trans_);
    if (child->retrieve(std::span<const Value>(args)) >= 0) entry.window = std::move(child);
  }
  const Presentation* result = entry.window.get();
  nested_.emplace(key, std::move(entry));
  return result;
}

}  // namespace kq::dw
