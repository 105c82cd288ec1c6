#include "platform/dw/expression/arithmetic_nodes.h"

#include "platform/value/format.h"

namespace kq::dw::expr {
namespace {

class ArithmeticNode final : public Node {
 public:
  ArithmeticNode(BinaryOp op, NodePtr a, NodePtr b, Type type)
      : Node(type), op_(op), a_(std::move(a)), b_(std::move(b)) {}
  const Value& eval(const Frame& f, Value& scratch) const override {
    Value sa, sb;
    const Value& a = a_->eval(f, sa);
    const Value& b = b_->eval(f, sb);
    return scratch = arithmetic(op_, a, b);
  }

 private:
  BinaryOp op_;
  NodePtr a_, b_;
};

class NegateNode final : public Node {
 public:
  explicit NegateNode(NodePtr operand) : Node(operand->type()), operand_(std::move(operand)) {}
  const Value& eval(const Frame& f, Value& scratch) const override {
    Value s;
    return scratch = negate(operand_->eval(f, s));
  }

 private:
  NodePtr operand_;
};

std::string text_of(const Value& v) { return v.is_string() ? v.str() : format::general(v); }

}  // namespace

Value concat(const Value& a, const Value& b) {
  if (a.is_null() || b.is_null()) return Value::null(Type::String);
  return Value(text_of(a) + text_of(b));
}

Value arithmetic(BinaryOp op, const Value& a, const Value& b) {
  switch (op) {
    case BinaryOp::Add:
      if (a.is_string() || b.is_string()) return concat(a, b);
      return add(a, b);
    case BinaryOp::Subtract: return subtract(a, b);
    case BinaryOp::Multiply: return multiply(a, b);
    case BinaryOp::Divide: return divide(a, b);
    default: return Value();
  }
}

Type arithmetic_type(BinaryOp op, Type a, Type b) {
  if (op == BinaryOp::Add && (a == Type::String || b == Type::String)) return Type::String;
  if (a == Type::Any || b == Type::Any) return op == BinaryOp::Divide ? Type::Decimal : Type::Any;
  if (op == BinaryOp::Divide || a == Type::Decimal || b == Type::Decimal) return Type::Decimal;
  return Type::Long;
}

NodePtr make_arithmetic(BinaryOp op, NodePtr a, NodePtr b) {
  Type t = arithmetic_type(op, a->type(), b->type());
  return std::make_unique<ArithmeticNode>(op, std::move(a), std::move(b), t);
}

NodePtr make_negate(NodePtr operand) { return std::make_unique<NegateNode>(std::move(operand)); }

}  // namespace kq::dw::expr
