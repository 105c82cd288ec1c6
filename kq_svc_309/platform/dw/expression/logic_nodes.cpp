#include "platform/dw/expression/logic_nodes.h"

namespace kq::dw::expr {
namespace {

class AndNode final : public Condition {
 public:
  AndNode(NodePtr a, NodePtr b) : a_(std::move(a)), b_(std::move(b)) {}
  NodeShape shape() const override {
    NodeShape s;
    s.kind = NodeShape::Kind::And;
    s.operands[0] = a_.get();
    s.operands[1] = b_.get();
    return s;
  }
  Tri test(const Frame& f) const override {
    Tri a = a_->test(f);
    if (a == Tri::False) return Tri::False;
    Tri b = b_->test(f);
    if (b == Tri::False) return Tri::False;
    return a == Tri::True && b == Tri::True ? Tri::True : Tri::Null;
  }

 private:
  NodePtr a_, b_;
};

class OrNode final : public Condition {
 public:
  OrNode(NodePtr a, NodePtr b) : a_(std::move(a)), b_(std::move(b)) {}
  NodeShape shape() const override {
    NodeShape s;
    s.kind = NodeShape::Kind::Or;
    s.operands[0] = a_.get();
    s.operands[1] = b_.get();
    return s;
  }
  Tri test(const Frame& f) const override {
    Tri a = a_->test(f);
    if (a == Tri::True) return Tri::True;
    Tri b = b_->test(f);
    if (b == Tri::True) return Tri::True;
    return a == Tri::False && b == Tri::False ? Tri::False : Tri::Null;
  }

 private:
  NodePtr a_, b_;
};

class NotNode final : public Condition {
 public:
  explicit NotNode(NodePtr operand) : operand_(std::move(operand)) {}
  NodeShape shape() const override {
    NodeShape s;
    s.kind = NodeShape::Kind::Not;
    s.operands[0] = operand_.get();
    return s;
  }
  Tri test(const Frame& f) const override {
    Tri t = operand_->test(f);
    if (t == Tri::Null) return Tri::Null;
    return t == Tri::True ? Tri::False : Tri::True;
  }

 private:
  NodePtr operand_;
};

class IfNode final : public Node {
 public:
  IfNode(NodePtr c, NodePtr a, NodePtr b)
      : Node(common_type(a->type(), b->type())), c_(std::move(c)), a_(std::move(a)), b_(std::move(b)) {}
  const Value& eval(const Frame& f, Value& scratch) const override {
    return c_->test(f) == Tri::True ? a_->eval(f, scratch) : b_->eval(f, scratch);
  }
  Tri test(const Frame& f) const override { return c_->test(f) == Tri::True ? a_->test(f) : b_->test(f); }

 private:
  NodePtr c_, a_, b_;
};

Type case_type(const std::vector<BoundCaseArm>& arms, const NodePtr& otherwise) {
  Type t = arms.front().result->type();
  for (const auto& arm : arms) t = common_type(t, arm.result->type());
  if (otherwise) t = common_type(t, otherwise->type());
  return t;
}

class CaseNode final : public Node {
 public:
  CaseNode(NodePtr subject, std::vector<BoundCaseArm> arms, NodePtr otherwise)
      : Node(case_type(arms, otherwise)),
        subject_(std::move(subject)),
        arms_(std::move(arms)),
        otherwise_(std::move(otherwise)) {}
  const Value& eval(const Frame& f, Value& scratch) const override {
    if (const Node* chosen = choose(f)) return chosen->eval(f, scratch);
    return scratch = Value::null(type());
  }

 private:
  const Node* choose(const Frame& f) const {
    Value s;
    const Value& x = subject_->eval(f, s);
    if (!x.is_null()) {
      for (const auto& arm : arms_) {
        for (const auto& v : arm.values) {
          Value sv;
          auto c = compare(x, v->eval(f, sv));
          if (c && *c == 0) return arm.result.get();
        }
      }
    }
    return otherwise_.get();
  }

  NodePtr subject_;
  std::vector<BoundCaseArm> arms_;
  NodePtr otherwise_;
};

}  // namespace

Type common_type(Type a, Type b) {
  if (a == b) return a;
  bool na = a == Type::Long || a == Type::Decimal, nb = b == Type::Long || b == Type::Decimal;
  if (na && nb) return Type::Decimal;
  return Type::Any;
}

NodePtr make_and(NodePtr a, NodePtr b) { return std::make_unique<AndNode>(std::move(a), std::move(b)); }
NodePtr make_or(NodePtr a, NodePtr b) { return std::make_unique<OrNode>(std::move(a), std::move(b)); }
NodePtr make_not(NodePtr operand) { return std::make_unique<NotNode>(std::move(operand)); }
NodePtr make_if(NodePtr c, NodePtr a, NodePtr b) {
  return std::make_unique<IfNode>(std::move(c), std::move(a), std::move(b));
}
NodePtr make_case(NodePtr subject, std::vector<BoundCaseArm> arms, NodePtr otherwise) {
  return std::make_unique<CaseNode>(std::move(subject), std::move(arms), std::move(otherwise));
}

}  // namespace kq::dw::expr
