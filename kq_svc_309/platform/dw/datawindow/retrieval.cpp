// Retrieval: the definition's query through the transaction's cursor into the row store.
#include <limits>

#include "platform/db/read_pacer.h"
#include "platform/dw/datawindow/datawindow.h"

namespace kq::dw {
namespace {

// True when the decimal has no more places than `unit` (10^(10 - scale)) allows.
bool at_scale(Decimal d, int64_t unit) {
  const Decimal::Raw raw = d.raw();
  if (raw >= std::numeric_limits<int64_t>::min() && raw <= std::numeric_limits<int64_t>::max())
    return static_cast<int64_t>(raw) % unit == 0;
  return raw % unit == 0;
}

// Converts a fetched value to its column's type in place; false when it does not convert.
bool fit(Value& v, Type type, int scale, int64_t unit) {
  switch (type) {
    case Type::String:
      if (v.is_string()) return true;
      break;
    case Type::Long:
      if (v.is_long()) return true;
      break;
    case Type::DateTime:
      if (v.is_datetime()) return true;
      break;
    case Type::Decimal:
      if (v.is_decimal()) {
        if (!at_scale(v.dec(), unit)) v = Value(v.dec().round(scale));
        return true;
      }
      break;
    default: return true;
  }
  auto c = v.converted_to(type);
  if (!c) return false;
  v = std::move(*c);
  if (type == Type::Decimal && !v.is_null() && !at_scale(v.dec(), unit)) v = Value(v.dec().round(scale));
  return true;
}

}  // namespace

long DataWindow::retrieve(std::span<const Value> arguments) {
  error_.clear();
  if (!bound_) return fail("no dataobject");
  if (!trans_) return fail("no transaction (settransobject first)");
  const Definition& d = bound_->definition();
  if (arguments.size() != d.arguments.size())
    return fail(d.name + " takes " + std::to_string(d.arguments.size()) + " retrieval argument(s), " +
                std::to_string(arguments.size()) + " given");
  std::vector<Value> args;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    auto v = arguments[i].converted_to(d.arguments[i].type);
    if (!v) return fail("retrieval argument " + d.arguments[i].name + ": '" + arguments[i].debug_string() + "' is no " +
                        type_name(d.arguments[i].type));
    args.push_back(std::move(*v));
  }
  if (archived_ || bound_->functions().is_replaying()) {
    // A restored state becomes a live data window again.
    archived_ = false;
    auto def = bound_->definition_ptr();
    if (bind(def, std::make_shared<FunctionMemo>(functions_)) < 0) return -1;
    recompile_settings();
  }
  clear_rows();
  args_ = std::move(args);

  std::vector<db::HostVar> vars;
  vars.reserve(args_.size());
  for (std::size_t i = 0; i < args_.size(); ++i) vars.emplace_back(d.arguments[i].name, args_[i]);
  auto cursor = trans_->open_cursor(d.query, vars);
  if (!cursor) return fail(trans_->sqlerrtext.empty() ? cursor.error() : trans_->sqlerrtext);
  const std::size_t n = d.columns.size();
  if (static_cast<std::size_t>(cursor->column_count()) != n) {
    std::string msg = d.name + ": the query gives " + std::to_string(cursor->column_count()) +
                      " columns, the definition declares " + std::to_string(n);
    cursor->close();
    trans_->sqlcode = -1;
    trans_->sqlerrtext = msg;
    return fail(msg);
  }

  std::vector<Type> types(n);
  std::vector<int> scales(n);
  std::vector<int64_t> units(n, 1);
  for (std::size_t c = 0; c < n; ++c) {
    types[c] = d.columns[c].type;
    scales[c] = d.columns[c].scale;
    for (int k = scales[c]; k < Decimal::kScale; ++k) units[c] *= 10;
  }
  Value v;
  auto& primary = rows_.buffer(Buffer::Primary);
  db::ReadPacer pacer;  // a long list steps its rows in turns with the other retrievals
  while (cursor->next()) {
    pacer.row();
    const RowIndex r = rows_.add_row(ItemStatus::NotModified);
    for (std::size_t c = 0; c < n; ++c) {
      const int column = static_cast<int>(c);
      if (types[c] == Type::String) {
        // A text goes from the backend's row into the store in one copy.
        if (auto text = cursor->text_view(column)) {
          rows_.store.set_text(r, c, *text);
          continue;
        }
      }
      cursor->read(column, v);
      if (v.is_null()) continue;
      if (!fit(v, types[c], scales[c], units[c])) continue;  // an item that is no value of its type reads as null
      rows_.store.set(r, c, v);
    }
    primary.push_back(r);
  }
  pacer.step_aside();
  if (!cursor->ok()) {
    std::string msg = cursor->error();
    clear_rows();
    trans_->sqlcode = -1;
    trans_->sqlerrtext = msg;
    return fail(msg);
  }
  rows_.store.pack();
  rows_.primary_changed();
  if (filter_ || !search_.empty()) apply_filter();
  if (!sort_.empty()) {
    apply_sort();
    sorted_ = true;
  }
  place_current_after_change(std::nullopt);
  return rowcount();
}

}  // namespace kq::dw
