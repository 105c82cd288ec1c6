#pragma once
// Arithmetic and text joining.
//
// Null propagates: an operand that is null makes the result null. '+' joins
// text when either side is text, converting the other side as string() does;
// otherwise it adds numbers. Long with Long stays Long (except '/', which is
// always Decimal); with a Decimal it is Decimal. Division by zero is null.
#include "platform/dw/expression/node.h"
#include "platform/dw/expression/syntax_tree.h"

namespace kq::dw::expr {

// op is Add, Subtract, Multiply or Divide.
NodePtr make_arithmetic(BinaryOp op, NodePtr a, NodePtr b);
NodePtr make_negate(NodePtr operand);

// The runtime's rules on two values, as the nodes apply them.
Value arithmetic(BinaryOp op, const Value& a, const Value& b);
// Text join of '+': null when either side is null.
Value concat(const Value& a, const Value& b);
// Static result type of `a op b`.
Type arithmetic_type(BinaryOp op, Type a, Type b);

}  // namespace kq::dw::expr
