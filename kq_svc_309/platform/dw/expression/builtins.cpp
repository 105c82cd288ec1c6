#include "platform/dw/expression/builtins.h"

#include <algorithm>
#include <iterator>

#include "platform/value/format.h"
#include "platform/value/text.h"

namespace kq::dw::expr {
namespace {

using Args = std::span<const Value* const>;

std::string text_of(const Value& v) { return v.is_string() ? v.str() : format::general(v); }

// A count argument: negative counts as 0.
size_t count_of(const Value& v) {
  auto n = v.as_long();
  return n && *n > 0 ? static_cast<size_t>(*n) : 0;
}

Value fn_left(Args a) {
  if (a[0]->is_string()) return Value(text::left(a[0]->str(), count_of(*a[1])));
  return Value(text::left(text_of(*a[0]), count_of(*a[1])));
}
Value fn_right(Args a) { return Value(text::right(text_of(*a[0]), count_of(*a[1]))); }
Value fn_mid(Args a) {
  size_t start = std::max<size_t>(count_of(*a[1]), 1);
  size_t n = a.size() > 2 ? count_of(*a[2]) : std::string_view::npos;
  return Value(text::mid(text_of(*a[0]), start, n));
}
Value fn_len(Args a) { return Value(static_cast<long long>(text::len(text_of(*a[0])))); }
Value fn_trim(Args a) { return Value(text::trim(text_of(*a[0]))); }
Value fn_upper(Args a) { return Value(text::upper(text_of(*a[0]))); }
Value fn_lower(Args a) { return Value(text::lower(text_of(*a[0]))); }

Value fn_string(Args a) {
  if (a.size() > 1) return Value(format::value(*a[0], text_of(*a[1])));
  return Value(format::general(*a[0]));
}

Value fn_dec(Args a) {
  const Value& v = *a[0];
  if (v.is_string()) return Value(Decimal::parse(v.str()).value_or(Decimal(0)));
  if (auto d = v.as_decimal()) return Value(*d);
  return Value::null(Type::Decimal);
}

Value fn_long(Args a) {
  const Value& v = *a[0];
  if (v.is_string()) {
    auto d = Decimal::parse(v.str());
    return Value(static_cast<long long>(d ? d->to_int64() : 0));
  }
  if (auto l = v.as_long()) return Value(static_cast<long long>(*l));
  return Value::null(Type::Long);
}

Value fn_isnull(Args a) { return Value(a[0]->is_null()); }

Value fn_abs(Args a) {
  const Value& v = *a[0];
  if (v.is_long() && v.lng() != INT64_MIN) return Value(static_cast<long long>(v.lng() < 0 ? -v.lng() : v.lng()));
  if (auto d = v.as_decimal()) return Value(d->abs());
  return Value::null(v.type());
}

Value fn_round(Args a) {
  auto x = a[0]->as_decimal();
  auto n = a[1]->as_long();
  if (!x || !n) return Value::null(Type::Decimal);
  if (*n >= 0) return Value(x->round(static_cast<int>(std::min<int64_t>(*n, Decimal::kScale))));
  Decimal scale(1);
  for (int64_t i = 0; i < std::min<int64_t>(-*n, 18); ++i) scale = *Decimal::multiply(scale, Decimal(10));
  auto q = Decimal::divide(*x, scale);
  if (!q) return Value::null(Type::Decimal);
  auto r = Decimal::multiply(q->round(0), scale);
  return r ? Value(*r) : Value::null(Type::Decimal);
}

Value fn_date(Args a) {
  const Value& v = *a[0];
  if (v.is_datetime()) return Value(v.dt().date());
  if (v.is_string()) return Value(DateTime::parse(v.str()).value_or(DateTime::absent()).date());
  return Value::null(Type::DateTime);
}

Value fn_today(Args) { return Value(DateTime::now()); }

constexpr Builtin kBuiltins[] = {
    {"left", 2, 2, Type::String, false, true, fn_left},
    {"right", 2, 2, Type::String, false, true, fn_right},
    {"mid", 2, 3, Type::String, false, true, fn_mid},
    {"len", 1, 1, Type::Long, false, true, fn_len},
    {"trim", 1, 1, Type::String, false, true, fn_trim},
    {"upper", 1, 1, Type::String, false, true, fn_upper},
    {"lower", 1, 1, Type::String, false, true, fn_lower},
    {"string", 1, 2, Type::String, false, true, fn_string},
    {"number", 1, 1, Type::Decimal, false, true, fn_dec},
    {"dec", 1, 1, Type::Decimal, false, true, fn_dec},
    {"long", 1, 1, Type::Long, false, true, fn_long},
    {"isnull", 1, 1, Type::Boolean, true, true, fn_isnull},
    {"abs", 1, 1, Type::Any, false, true, fn_abs},
    {"round", 2, 2, Type::Decimal, false, true, fn_round},
    {"date", 1, 1, Type::DateTime, false, true, fn_date},
    {"today", 0, 0, Type::DateTime, false, false, fn_today},
};

static_assert(std::all_of(std::begin(kBuiltins), std::end(kBuiltins),
                          [](const Builtin& b) { return b.max_args <= kMaxBuiltinArgs; }));

}  // namespace

const Builtin* find_builtin(std::string_view name) {
  for (const auto& b : kBuiltins)
    if (text::iequals(name, b.name)) return &b;
  return nullptr;
}

}  // namespace kq::dw::expr
