#pragma once
// A bound expression node: the compiled form that evaluation walks. Names are
// already resolved to slots; nodes never parse or look anything up.
#include <cstdint>
#include <memory>

#include "platform/dw/expression/row_context.h"
#include "platform/dw/expression/syntax_tree.h"
#include "platform/value/value.h"

namespace kq::dw::expr {

// Where an evaluation stands: the context, the row, and that row's columns
// (fetched once per row, nullptr for kNoRow).
struct Frame {
  const RowContext* ctx = nullptr;
  RowId row = kNoRow;
  const Value* cols = nullptr;
};

inline Frame make_frame(const RowContext& ctx, RowId row) {
  return Frame{&ctx, row, row == kNoRow ? nullptr : ctx.columns(row)};
}

// Three-valued truth of conditions.
enum class Tri : uint8_t { False = 0, True = 1, Null = 2 };

// Truth of a value used as a condition: null is Null, a boolean itself, a
// number true when not zero; anything else Null.
Tri truth(const Value& v);
Value tri_value(Tri t);

class Node;

// What a node computes, for engines that evaluate conditions in bulk over
// their own storage. Kinds other than Other promise exactly this behaviour:
//   And, Or, Not: the three-valued operator (Not: operands[0] only) of the
//     operands' test(), which have no effects;
//   ColumnCompare: column `slot` compared by `op` with `*constant`, a non-null
//     text or number: null when the item is null; a text item by bytes with a
//     text constant; a number item by value with a number constant.
// Constants are recognised through constant().
struct NodeShape {
  enum class Kind : uint8_t { Other, And, Or, Not, ColumnCompare };
  Kind kind = Kind::Other;
  BinaryOp op = BinaryOp::Equal;
  std::size_t slot = 0;
  const Value* constant = nullptr;
  const Node* operands[2] = {nullptr, nullptr};
};

class Node {
 public:
  explicit Node(Type type) : type_(type) {}
  virtual ~Node() = default;
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;

  // The node's value for the frame. The result is a reference either to data
  // that outlives the call (a stored column value, a constant) or to
  // `scratch`, which the caller provides and must keep while it uses it.
  virtual const Value& eval(const Frame& f, Value& scratch) const = 0;
  // The value as a condition. Conditions override this to avoid building a Value.
  virtual Tri test(const Frame& f) const;

  // The constant value when the node does not depend on the row or the context.
  virtual const Value* constant() const { return nullptr; }
  // The column slot when the node is a plain column reference.
  virtual const std::size_t* column_slot() const { return nullptr; }
  // What the node computes; Other unless a bulk evaluator may stand in for it.
  virtual NodeShape shape() const { return {}; }

  // Static type of the result; Any when it depends on the data.
  Type type() const { return type_; }

 private:
  Type type_;
};

// Base of nodes that are conditions: they implement test(), and eval() gives
// its boolean (null for Null).
class Condition : public Node {
 public:
  Condition() : Node(Type::Boolean) {}
  const Value& eval(const Frame& f, Value& scratch) const override { return scratch = tri_value(test(f)); }
};

using NodePtr = std::unique_ptr<Node>;

}  // namespace kq::dw::expr
