#pragma once
// A value of the runtime: text, whole number, decimal, date-time, boolean or
// blob, any of which may be null. Data window items, host variables of
// embedded statements and expression results are Values.
//
// Null propagates as the runtime has it: arithmetic with a null operand is
// null, a comparison with a null operand is null (neither true nor false).
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/value/datetime.h"
#include "platform/value/decimal.h"

namespace kq {

// Binary data (an archived data window, say).
struct Blob {
  std::string bytes;
  friend bool operator==(const Blob&, const Blob&) = default;
};

// The type of a value; a null value still carries the type it was declared with.
enum class Type : uint8_t { Any, String, Long, Decimal, DateTime, Boolean, Blob };

const char* type_name(Type t);

class Value {
 public:
  Value() = default;  // null of no particular type
  Value(std::string s) : v_(std::move(s)) {}            // NOLINT(google-explicit-constructor)
  Value(std::string_view s) : v_(std::string(s)) {}     // NOLINT
  Value(const char* s) : v_(std::string(s)) {}          // NOLINT
  Value(int v) : v_(static_cast<int64_t>(v)) {}         // NOLINT
  Value(long v) : v_(static_cast<int64_t>(v)) {}        // NOLINT
  Value(long long v) : v_(static_cast<int64_t>(v)) {}   // NOLINT
  Value(Decimal d) : v_(d) {}                           // NOLINT
  Value(DateTime d) : v_(d) {}                          // NOLINT
  Value(bool b) : v_(b) {}                              // NOLINT
  Value(Blob b) : v_(std::move(b)) {}                   // NOLINT
  template <typename T>
  Value(const std::optional<T>& o) {  // NOLINT: a null optional is a typed null
    if (o) *this = Value(*o);
    else null_type_ = type_of<T>();
  }

  static Value null(Type t) { Value v; v.null_type_ = t; return v; }

  bool is_null() const { return v_.index() == 0; }
  Type type() const;

  bool is_string() const { return std::holds_alternative<std::string>(v_); }
  bool is_long() const { return std::holds_alternative<int64_t>(v_); }
  bool is_decimal() const { return std::holds_alternative<Decimal>(v_); }
  bool is_number() const { return is_long() || is_decimal(); }
  bool is_datetime() const { return std::holds_alternative<DateTime>(v_); }
  bool is_bool() const { return std::holds_alternative<bool>(v_); }
  bool is_blob() const { return std::holds_alternative<Blob>(v_); }

  // Typed access without conversion; precondition: the value holds that type.
  const std::string& str() const { return std::get<std::string>(v_); }
  int64_t lng() const { return std::get<int64_t>(v_); }
  Decimal dec() const { return std::get<Decimal>(v_); }
  DateTime dt() const { return std::get<DateTime>(v_); }
  bool boolean() const { return std::get<bool>(v_); }
  const Blob& blob() const { return std::get<Blob>(v_); }

  // Conversions as the runtime's string(), dec(), long(), datetime() do; null
  // stays null, and a text that is no number/date converts to null.
  std::optional<std::string> as_string() const;
  std::optional<Decimal> as_decimal() const;
  std::optional<int64_t> as_long() const;
  std::optional<DateTime> as_datetime() const;
  std::optional<bool> as_bool() const;

  // Converts to `t` (Any keeps the value); nullopt when it cannot.
  std::optional<Value> converted_to(Type t) const;

  // Strict equality of type and content (two nulls are equal): for tests and caches.
  friend bool operator==(const Value& a, const Value& b) { return a.v_ == b.v_; }

  // A readable form for messages and tests: text as is, numbers plain, dates
  // "yyyy/mm/dd hh:mm:ss", null as "null".
  std::string debug_string() const;

 private:
  template <typename T>
  static constexpr Type type_of() {
    if constexpr (std::is_same_v<T, std::string>) return Type::String;
    else if constexpr (std::is_same_v<T, Decimal>) return Type::Decimal;
    else if constexpr (std::is_same_v<T, DateTime>) return Type::DateTime;
    else if constexpr (std::is_same_v<T, bool>) return Type::Boolean;
    else if constexpr (std::is_same_v<T, Blob>) return Type::Blob;
    else return Type::Long;
  }

  std::variant<std::monostate, std::string, int64_t, Decimal, DateTime, bool, Blob> v_;
  Type null_type_ = Type::Any;
};

// Three-valued comparison of the runtime: nullopt when either side is null or
// the two cannot be compared; otherwise <0, 0, >0. Numbers compare by value
// (long against decimal too), texts byte-wise, dates by time.
std::optional<int> compare(const Value& a, const Value& b);

// Arithmetic with null propagation; nullopt-equivalent results are null Values.
// Long op Long stays Long (except division, which is Decimal); anything with a
// Decimal is Decimal. Division by zero gives null.
Value add(const Value& a, const Value& b);
Value subtract(const Value& a, const Value& b);
Value multiply(const Value& a, const Value& b);
Value divide(const Value& a, const Value& b);
Value negate(const Value& a);

// Readable forms for test failures and logs: a value with its type, text in
// quotes ("long 12", "string \"a\"", "null decimal"); a blob by its size.
std::ostream& operator<<(std::ostream& os, Type t);
std::ostream& operator<<(std::ostream& os, const Blob& b);
std::ostream& operator<<(std::ostream& os, const Value& v);

// Null-able variables of window code, named after the runtime's types.
using Str = std::optional<std::string>;
using Dec = std::optional<Decimal>;
using Long = std::optional<int64_t>;
using Dt = std::optional<DateTime>;

}  // namespace kq
