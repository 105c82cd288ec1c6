#include "platform/value/value.h"

#include <ostream>

#include "platform/value/text.h"

namespace kq {

const char* type_name(Type t) {
  switch (t) {
    case Type::Any: return "any";
    case Type::String: return "string";
    case Type::Long: return "long";
    case Type::Decimal: return "decimal";
    case Type::DateTime: return "datetime";
    case Type::Boolean: return "boolean";
    case Type::Blob: return "blob";
  }
  return "any";
}

Type Value::type() const {
  switch (v_.index()) {
    case 1: return Type::String;
    case 2: return Type::Long;
    case 3: return Type::Decimal;
    case 4: return Type::DateTime;
    case 5: return Type::Boolean;
    case 6: return Type::Blob;
    default: return null_type_;
  }
}

std::optional<std::string> Value::as_string() const {
  switch (v_.index()) {
    case 1: return str();
    case 2: return std::to_string(lng());
    case 3: return dec().to_string();
    case 4: return dt().to_string();
    case 5: return boolean() ? std::string("true") : std::string("false");
    case 6: return blob().bytes;
    default: return std::nullopt;
  }
}

std::optional<Decimal> Value::as_decimal() const {
  switch (v_.index()) {
    case 1: return Decimal::parse(str());
    case 2: return Decimal(static_cast<long long>(lng()));
    case 3: return dec();
    case 5: return Decimal(boolean() ? 1 : 0);
    default: return std::nullopt;
  }
}

std::optional<int64_t> Value::as_long() const {
  switch (v_.index()) {
    case 1: {
      auto d = Decimal::parse(str());
      if (!d) return std::nullopt;
      return d->to_int64();
    }
    case 2: return lng();
    case 3: return dec().to_int64();
    case 5: return boolean() ? 1 : 0;
    default: return std::nullopt;
  }
}

std::optional<DateTime> Value::as_datetime() const {
  switch (v_.index()) {
    case 1: return DateTime::parse(str());
    case 4: return dt();
    default: return std::nullopt;
  }
}

std::optional<bool> Value::as_bool() const {
  switch (v_.index()) {
    case 2: return lng() != 0;
    case 3: return !dec().is_zero();
    case 5: return boolean();
    case 1: {
      if (text::iequals(str(), "true")) return true;
      if (text::iequals(str(), "false")) return false;
      return std::nullopt;
    }
    default: return std::nullopt;
  }
}

std::optional<Value> Value::converted_to(Type t) const {
  if (t == Type::Any || t == type()) {
    if (is_null()) return Value::null(t);
    return *this;
  }
  if (is_null()) return Value::null(t);
  switch (t) {
    case Type::String: {
      if (auto s = as_string()) return Value(*s);
      return std::nullopt;
    }
    case Type::Long: {
      if (auto l = as_long()) return Value(static_cast<long long>(*l));
      return std::nullopt;
    }
    case Type::Decimal: {
      if (auto d = as_decimal()) return Value(*d);
      return std::nullopt;
    }
    case Type::DateTime: {
      if (auto d = as_datetime()) return Value(*d);
      return std::nullopt;
    }
    case Type::Boolean: {
      if (auto b = as_bool()) return Value(*b);
      return std::nullopt;
    }
    case Type::Blob: {
      if (auto s = as_string()) return Value(Blob{*s});
      return std::nullopt;
    }
    case Type::Any: break;
  }
  return std::nullopt;
}

std::string Value::debug_string() const {
  if (is_null()) return "null";
  return *as_string();
}

std::optional<int> compare(const Value& a, const Value& b) {
  if (a.is_null() || b.is_null()) return std::nullopt;
  auto sign = [](auto x, auto y) { return x < y ? -1 : (y < x ? 1 : 0); };
  if (a.is_long() && b.is_long()) return sign(a.lng(), b.lng());
  if (a.is_number() && b.is_number()) return sign(*a.as_decimal(), *b.as_decimal());
  if (a.is_string() && b.is_string()) {
    int c = a.str().compare(b.str());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  if (a.is_datetime() && b.is_datetime()) return sign(a.dt(), b.dt());
  if (a.is_bool() && b.is_bool()) return sign(a.boolean(), b.boolean());
  // Mixed: a date against its text form, a number against numeric text.
  if (a.is_datetime() || b.is_datetime()) {
    auto x = a.as_datetime(), y = b.as_datetime();
    if (x && y) return sign(*x, *y);
    return std::nullopt;
  }
  if (a.is_number() || b.is_number()) {
    auto x = a.as_decimal(), y = b.as_decimal();
    if (x && y) return sign(*x, *y);
    return std::nullopt;
  }
  return std::nullopt;
}

namespace {

template <typename LongOp, typename DecOp>
Value arith(const Value& a, const Value& b, LongOp lop, DecOp dop) {
  if (a.is_null() || b.is_null()) return Value::null(a.is_decimal() || b.is_decimal() ? Type::Decimal : Type::Any);
  if (a.is_long() && b.is_long()) {
    int64_t r;
    if (lop(a.lng(), b.lng(), r)) return Value(static_cast<long long>(r));
  }
  auto x = a.as_decimal(), y = b.as_decimal();
  if (!x || !y) return Value::null(Type::Decimal);
  std::optional<Decimal> r = dop(*x, *y);
  if (!r) return Value::null(Type::Decimal);
  return Value(*r);
}

}  // namespace

Value add(const Value& a, const Value& b) {
  // Text joins text; a date plus a number is not defined here.
  if (a.is_string() && b.is_string()) return Value(a.str() + b.str());
  return arith(a, b, [](int64_t x, int64_t y, int64_t& r) { return !__builtin_add_overflow(x, y, &r); },
               [](Decimal x, Decimal y) -> std::optional<Decimal> { return x + y; });
}

Value subtract(const Value& a, const Value& b) {
  return arith(a, b, [](int64_t x, int64_t y, int64_t& r) { return !__builtin_sub_overflow(x, y, &r); },
               [](Decimal x, Decimal y) -> std::optional<Decimal> { return x - y; });
}

Value multiply(const Value& a, const Value& b) {
  return arith(a, b, [](int64_t x, int64_t y, int64_t& r) { return !__builtin_mul_overflow(x, y, &r); },
               [](Decimal x, Decimal y) { return Decimal::multiply(x, y); });
}

Value divide(const Value& a, const Value& b) {
  return arith(a, b, [](int64_t, int64_t, int64_t&) { return false; },
               [](Decimal x, Decimal y) { return Decimal::divide(x, y); });
}

Value negate(const Value& a) {
  if (a.is_long()) return Value(static_cast<long long>(-a.lng()));
  if (a.is_decimal()) return Value(-a.dec());
  return Value::null(a.type());
}

std::ostream& operator<<(std::ostream& os, Type t) { return os << type_name(t); }

std::ostream& operator<<(std::ostream& os, const Blob& b) { return os << "blob of " << b.bytes.size() << " bytes"; }

std::ostream& operator<<(std::ostream& os, const Value& v) {
  if (v.is_null()) return os << "null " << v.type();
  if (v.is_string()) return os << "string \"" << v.str() << '"';
  if (v.is_blob()) return os << v.blob();
  return os << v.type() << ' ' << v.debug_string();
}

}  // namespace kq
