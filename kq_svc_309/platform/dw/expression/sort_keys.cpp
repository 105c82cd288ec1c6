#include "platform/dw/expression/sort_keys.h"

#include "platform/dw/expression/sort_order.h"

namespace kq::dw::expr {
namespace {

// Which kinds of non-null values a key holds.
struct Seen {
  bool longs = false, decimals = false, dates = false, bools = false, texts = false, other = false;
};

}  // namespace

SortKeyValues::SortKeyValues(const Expression& key, bool descending, const RowContext& ctx,
                             std::span<const RowId> rows)
    : descending_(descending) {
  const std::size_t n = rows.size();
  values_.resize(n);
  null_.resize(n);
  static const Value kNull;
  if (const std::size_t* slot = key.column_slot()) {
    for (std::size_t i = 0; i < n; ++i) {
      const Value* cols = ctx.columns(rows[i]);
      values_[i] = cols ? &cols[*slot] : &kNull;
    }
  } else {
    owned_.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      owned_[i] = key.evaluate(ctx, rows[i]);
      values_[i] = &owned_[i];
    }
  }
  Seen seen;
  for (std::size_t i = 0; i < n; ++i) {
    const Value& v = *values_[i];
    null_[i] = v.is_null() ? 1 : 0;
    if (v.is_null()) continue;
    if (v.is_long()) seen.longs = true;
    else if (v.is_decimal()) seen.decimals = true;
    else if (v.is_datetime()) seen.dates = true;
    else if (v.is_bool()) seen.bools = true;
    else if (v.is_string()) seen.texts = true;
    else seen.other = true;
  }
  const int kinds = (seen.longs || seen.decimals) + seen.dates + seen.bools + seen.texts + seen.other;
  if (kinds > 1 || seen.other) {
    kind_ = Kind::General;
    return;
  }
  if (seen.texts) {
    kind_ = Kind::Text;
    texts_.resize(n);
    prefixes_.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      if (null_[i]) continue;
      texts_[i] = values_[i]->str();
      prefixes_[i] = text_prefix(texts_[i]);
    }
  } else if (seen.decimals) {
    kind_ = Kind::Dec;
    decs_.resize(n);
    for (std::size_t i = 0; i < n; ++i)
      if (!null_[i]) decs_[i] = values_[i]->as_decimal()->raw();
  } else {
    kind_ = Kind::Int;
    ints_.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      if (null_[i]) continue;
      const Value& v = *values_[i];
      ints_[i] = v.is_long() ? v.lng() : v.is_datetime() ? v.dt().seconds() : (v.is_bool() && v.boolean() ? 1 : 0);
    }
  }
  values_.clear();
  values_.shrink_to_fit();
}

int SortKeyValues::general(std::size_t i, std::size_t j) const { return sort_order(*values_[i], *values_[j]); }

}  // namespace kq::dw::expr
