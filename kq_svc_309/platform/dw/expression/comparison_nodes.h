#pragma once
// Comparisons and "in".
//
// Text compares with text (byte-wise, which is code-point order for UTF-8),
// numbers with numbers (Long against Decimal by value), dates with dates. A
// null operand makes the comparison null. A column compared with a constant
// gets a specialised node that reads the stored value in place and compares
// with the constant converted once, at compile time.
#include <vector>

#include "platform/dw/expression/node.h"
#include "platform/dw/expression/syntax_tree.h"

namespace kq::dw::expr {

// op is one of Equal .. GreaterEqual.
NodePtr make_compare(BinaryOp op, NodePtr a, NodePtr b);
// subject [not] in (items): true when the subject equals an item; otherwise
// null when the subject or an item is null, false when none is.
NodePtr make_in(NodePtr subject, std::vector<NodePtr> items, bool negated);

// Whether comparison `op` holds for a three-way result c (<0, 0, >0).
bool compare_holds(BinaryOp op, int c);
// The operator that gives the same result with the operands swapped.
BinaryOp swapped(BinaryOp op);

}  // namespace kq::dw::expr
