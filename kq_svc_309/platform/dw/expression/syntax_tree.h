#pragma once
// The parsed, not yet bound form of an expression: what the text says, with
// each element's position for messages. Names are not resolved here.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/value/value.h"

namespace kq::dw::expr {

enum class SyntaxKind {
  Literal,    // value
  Name,       // name (a column, computed field or retrieval argument)
  Negate,     // -children[0]
  Not,        // not children[0]
  Binary,     // children[0] op children[1]
  In,         // children[0] in (children[1..]); `negated` for "not in"
  Call,       // name(children...)
  Aggregate,  // name(children[0] [for all])
  Case,       // case(children[0] when ... then ... [else ...]), see CaseArm
};

enum class BinaryOp {
  Add, Subtract, Multiply, Divide,
  Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual,
  And, Or,
};

// Operator as written, for messages.
const char* binary_op_text(BinaryOp op);

struct SyntaxNode;
using SyntaxPtr = std::unique_ptr<SyntaxNode>;

// One "when v1, v2 then r" of a case: the values and the result.
struct CaseArm {
  std::vector<SyntaxPtr> values;
  SyntaxPtr result;
};

struct SyntaxNode {
  SyntaxKind kind = SyntaxKind::Literal;
  size_t position = 1;  // 1-based character position of the element
  Value value;          // Literal
  std::string name;     // Name, Call, Aggregate (as written)
  BinaryOp op = BinaryOp::Add;
  bool negated = false;                // In: "not in"
  std::vector<SyntaxPtr> children;     // operands and arguments
  std::vector<CaseArm> arms;           // Case
  SyntaxPtr otherwise;                 // Case: the else result, or null
};

}  // namespace kq::dw::expr
