#pragma once
// The runtime's scalar functions available in every expression.
//
//   left(s, n) right(s, n) mid(s, start[, n]) len(s) trim(s) upper(s) lower(s)
//       text functions counting characters, not bytes; a non-text first
//       argument is taken in its string() form.
//   string(x[, format])  text of x, by the display format when given.
//   number(x) dec(x)     Decimal; text that is no number gives 0.
//   long(x)              Long, the fraction cut off; text that is no number gives 0.
//   isnull(x)            true when x is null (the one function that takes null).
//   abs(x)               absolute value, Long or Decimal as x.
//   round(x, n)          Decimal rounded half away from zero to n places
//                        (n < 0 rounds to tens, hundreds ...).
//   date(x)              the date part (midnight) of a date-time or of text in
//                        a date form; other text gives 1900/01/01.
//   today()              the current date and time.
// Every function but isnull gives null when an argument is null.
#include <cstddef>
#include <span>
#include <string_view>

#include "platform/value/value.h"

namespace kq::dw::expr {

// The most arguments a built-in function takes.
inline constexpr std::size_t kMaxBuiltinArgs = 3;

struct Builtin {
  using Fn = Value (*)(std::span<const Value* const> args);
  const char* name;
  std::size_t min_args;
  std::size_t max_args;
  Type result;      // Type::Any: the type of the first argument
  bool takes_null;  // false: a null argument gives a null result without calling fn
  bool pure;        // true: constant arguments give a constant (folded at compile time)
  Fn fn;
};

// The built-in function called `name` (ASCII case ignored), or nullptr.
const Builtin* find_builtin(std::string_view name);

}  // namespace kq::dw::expr
