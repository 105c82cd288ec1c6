#pragma once
// Conditions and choices: and, or, not (three-valued, as SQL has them), if()
// and case().
//
// and: false when either side is false, true when both are true, else null.
// or:  true when either side is true, false when both are false, else null.
// not: null stays null.
// if(c, a, b): a when c is true; b when c is false or null.
// case(x when v1, v2 then r1 ... else r): the result of the first arm with a
// value equal to x; else r, or null without an else (also when x is null).
#include <vector>

#include "platform/dw/expression/node.h"

namespace kq::dw::expr {

struct BoundCaseArm {
  std::vector<NodePtr> values;
  NodePtr result;
};

NodePtr make_and(NodePtr a, NodePtr b);
NodePtr make_or(NodePtr a, NodePtr b);
NodePtr make_not(NodePtr operand);
NodePtr make_if(NodePtr condition, NodePtr then_value, NodePtr else_value);
NodePtr make_case(NodePtr subject, std::vector<BoundCaseArm> arms, NodePtr otherwise);

// The static type of a choice between results of types a and b.
Type common_type(Type a, Type b);

}  // namespace kq::dw::expr
