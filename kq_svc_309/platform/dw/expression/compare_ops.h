#pragma once
// The building blocks of ordered comparisons, shared by the comparison nodes,
// the sort keys and the bulk filter and sort over the row store: a three-way
// result, whether an operator holds for it (chosen at compile time), and the
// 8-byte image of a text that orders as the text does.
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "platform/dw/expression/node.h"
#include "platform/dw/expression/syntax_tree.h"

namespace kq::dw::expr {

// -1, 0 or 1 as a is below, equal to or above b (by operator <).
template <typename T>
constexpr int three_way(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// Whether comparison Op (Equal .. GreaterEqual) holds for a three-way result
// c (<0, 0, >0).
template <BinaryOp Op>
constexpr bool holds(int c) {
  if constexpr (Op == BinaryOp::Equal) return c == 0;
  else if constexpr (Op == BinaryOp::NotEqual) return c != 0;
  else if constexpr (Op == BinaryOp::Less) return c < 0;
  else if constexpr (Op == BinaryOp::LessEqual) return c <= 0;
  else if constexpr (Op == BinaryOp::Greater) return c > 0;
  else return c >= 0;
}

inline Tri tri(bool b) { return b ? Tri::True : Tri::False; }

// Calls f(std::integral_constant<BinaryOp, op>{}), so that f can instantiate
// holds<> or a node for the operator; op is one of Equal .. GreaterEqual
// (anything else counts as GreaterEqual).
template <typename F>
decltype(auto) with_compare_op(BinaryOp op, F&& f) {
  switch (op) {
    case BinaryOp::Equal: return f(std::integral_constant<BinaryOp, BinaryOp::Equal>{});
    case BinaryOp::NotEqual: return f(std::integral_constant<BinaryOp, BinaryOp::NotEqual>{});
    case BinaryOp::Less: return f(std::integral_constant<BinaryOp, BinaryOp::Less>{});
    case BinaryOp::LessEqual: return f(std::integral_constant<BinaryOp, BinaryOp::LessEqual>{});
    case BinaryOp::Greater: return f(std::integral_constant<BinaryOp, BinaryOp::Greater>{});
    default: return f(std::integral_constant<BinaryOp, BinaryOp::GreaterEqual>{});
  }
}

// The first 8 bytes of a text as a big-endian number, zeros past its end:
// where the images of two texts differ, they order as the texts do (by bytes).
inline uint64_t text_prefix(std::string_view v) {
  uint64_t p = 0;
  const std::size_t n = std::min<std::size_t>(8, v.size());
  for (std::size_t i = 0; i < n; ++i) p |= static_cast<uint64_t>(static_cast<unsigned char>(v[i])) << (56 - 8 * i);
  return p;
}

}  // namespace kq::dw::expr
