#include "platform/dw/expression/comparison_nodes.h"

#include <cstring>
#include <string>

#include "platform/dw/expression/compare_ops.h"

namespace kq::dw::expr {
namespace {

Tri generic(BinaryOp op, const Value& a, const Value& b) {
  auto c = compare(a, b);
  if (!c) return Tri::Null;
  return tri(compare_holds(op, *c));
}

class CompareNode final : public Condition {
 public:
  CompareNode(BinaryOp op, NodePtr a, NodePtr b) : op_(op), a_(std::move(a)), b_(std::move(b)) {}
  Tri test(const Frame& f) const override {
    Value sa, sb;
    const Value& a = a_->eval(f, sa);
    const Value& b = b_->eval(f, sb);
    return generic(op_, a, b);
  }

 private:
  BinaryOp op_;
  NodePtr a_, b_;
};

// column op constant: the column's slot and the non-null constant.
template <BinaryOp Op>
class ColumnConstantCompare : public Condition {
 public:
  ColumnConstantCompare(std::size_t slot, Value k) : slot_(slot), kv_(std::move(k)) {}
  NodeShape shape() const final {
    NodeShape s;
    s.kind = NodeShape::Kind::ColumnCompare;
    s.op = Op;
    s.slot = slot_;
    s.constant = &kv_;
    return s;
  }

 protected:
  const std::size_t slot_;
  const Value kv_;
};

// column op 'text'
template <BinaryOp Op>
class ColumnTextCompare final : public ColumnConstantCompare<Op> {
  using Base = ColumnConstantCompare<Op>;
  using Base::kv_;
  using Base::slot_;

 public:
  ColumnTextCompare(std::size_t slot, Value k)
      : Base(slot, std::move(k)), k_(kv_.str()), single_(k_.size() == 1) {}
  Tri test(const Frame& f) const override {
    if (!f.cols) return Tri::Null;
    const Value& v = f.cols[slot_];
    if (v.is_string()) {
      const std::string& s = v.str();
      if constexpr (Op == BinaryOp::Equal || Op == BinaryOp::NotEqual) {
        // Codes such as cwxzt = '1' are one character: compare it without memcmp.
        bool eq = s.size() == k_.size() && (single_ ? s[0] == k_[0] : std::memcmp(s.data(), k_.data(), s.size()) == 0);
        return tri(Op == BinaryOp::Equal ? eq : !eq);
      } else {
        return tri(holds<Op>(s.compare(k_)));
      }
    }
    if (v.is_null()) return Tri::Null;
    return generic(Op, v, kv_);
  }

 private:
  std::string k_;
  bool single_;
};

// column op number
template <BinaryOp Op>
class ColumnNumberCompare final : public ColumnConstantCompare<Op> {
  using Base = ColumnConstantCompare<Op>;
  using Base::kv_;
  using Base::slot_;

 public:
  ColumnNumberCompare(std::size_t slot, Value k) : Base(slot, std::move(k)), kd_(*kv_.as_decimal()) {
    integral_ = kd_.is_integer() && kv_.is_long();
    kl_ = integral_ ? kv_.lng() : 0;
  }
  Tri test(const Frame& f) const override {
    if (!f.cols) return Tri::Null;
    const Value& v = f.cols[slot_];
    if (v.is_long()) {
      if (integral_) return tri(holds<Op>(three_way(v.lng(), kl_)));
      return tri(holds<Op>(three_way(Decimal(static_cast<long long>(v.lng())), kd_)));
    }
    if (v.is_decimal()) return tri(holds<Op>(three_way(v.dec(), kd_)));
    if (v.is_null()) return Tri::Null;
    return generic(Op, v, kv_);
  }

 private:
  Decimal kd_;
  int64_t kl_ = 0;
  bool integral_ = false;
};

template <template <BinaryOp> class N>
NodePtr specialise(BinaryOp op, std::size_t slot, const Value& k) {
  return with_compare_op(op, [&](auto o) -> NodePtr { return std::make_unique<N<decltype(o)::value>>(slot, k); });
}

class InNode final : public Condition {
 public:
  InNode(NodePtr subject, std::vector<NodePtr> items, bool negated)
      : subject_(std::move(subject)), items_(std::move(items)), negated_(negated) {}
  Tri test(const Frame& f) const override {
    Value s;
    const Value& x = subject_->eval(f, s);
    bool saw_null = x.is_null();
    if (!saw_null) {
      for (const auto& item : items_) {
        Value si;
        auto c = compare(x, item->eval(f, si));
        if (!c) saw_null = true;
        else if (*c == 0) return tri(!negated_);
      }
    }
    if (saw_null) return Tri::Null;
    return tri(negated_);
  }

 private:
  NodePtr subject_;
  std::vector<NodePtr> items_;
  bool negated_;
};

// column in ('a', 'b', ...)
class ColumnTextInNode final : public Condition {
 public:
  ColumnTextInNode(std::size_t slot, std::vector<std::string> items, bool negated)
      : slot_(slot), items_(std::move(items)), negated_(negated) {}
  Tri test(const Frame& f) const override {
    if (!f.cols) return Tri::Null;
    const Value& v = f.cols[slot_];
    if (v.is_null()) return Tri::Null;
    if (!v.is_string()) return mixed(v);
    const std::string& s = v.str();
    for (const auto& item : items_)
      if (s == item) return tri(!negated_);
    return tri(negated_);
  }

 private:
  // A value of another type against the text items, by the general rules.
  Tri mixed(const Value& v) const {
    bool saw_null = false;
    for (const auto& item : items_) {
      auto c = compare(v, Value(item));
      if (!c) saw_null = true;
      else if (*c == 0) return tri(!negated_);
    }
    return saw_null ? Tri::Null : tri(negated_);
  }

  std::size_t slot_;
  std::vector<std::string> items_;
  bool negated_;
};

}  // namespace

bool compare_holds(BinaryOp op, int c) {
  switch (op) {
    case BinaryOp::Equal: return c == 0;
    case BinaryOp::NotEqual: return c != 0;
    case BinaryOp::Less: return c < 0;
    case BinaryOp::LessEqual: return c <= 0;
    case BinaryOp::Greater: return c > 0;
    case BinaryOp::GreaterEqual: return c >= 0;
    default: return false;
  }
}

BinaryOp swapped(BinaryOp op) {
  switch (op) {
    case BinaryOp::Less: return BinaryOp::Greater;
    case BinaryOp::LessEqual: return BinaryOp::GreaterEqual;
    case BinaryOp::Greater: return BinaryOp::Less;
    case BinaryOp::GreaterEqual: return BinaryOp::LessEqual;
    default: return op;
  }
}

NodePtr make_compare(BinaryOp op, NodePtr a, NodePtr b) {
  if (a->constant() && b->column_slot()) {
    std::swap(a, b);
    op = swapped(op);
  }
  if (a->column_slot() && b->constant() && !b->constant()->is_null()) {
    std::size_t slot = *a->column_slot();
    const Value& k = *b->constant();
    if (k.is_string()) return specialise<ColumnTextCompare>(op, slot, k);
    if (k.is_number()) return specialise<ColumnNumberCompare>(op, slot, k);
  }
  return std::make_unique<CompareNode>(op, std::move(a), std::move(b));
}

NodePtr make_in(NodePtr subject, std::vector<NodePtr> items, bool negated) {
  if (subject->column_slot()) {
    std::vector<std::string> texts;
    for (const auto& item : items) {
      const Value* k = item->constant();
      if (!k || !k->is_string()) break;
      texts.push_back(k->str());
    }
    if (texts.size() == items.size())
      return std::make_unique<ColumnTextInNode>(*subject->column_slot(), std::move(texts), negated);
  }
  return std::make_unique<InNode>(std::move(subject), std::move(items), negated);
}

}  // namespace kq::dw::expr
