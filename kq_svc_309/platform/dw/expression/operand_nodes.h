#pragma once
// Leaves of a bound expression: constants, column slots, computed fields,
// retrieval arguments.
#include "platform/dw/expression/node.h"

namespace kq::dw::expr {

class ConstantNode final : public Node {
 public:
  explicit ConstantNode(Value v) : Node(v.type()), v_(std::move(v)) {}
  const Value& eval(const Frame&, Value&) const override { return v_; }
  Tri test(const Frame&) const override { return truth_; }
  const Value* constant() const override { return &v_; }

 private:
  Value v_;
  Tri truth_ = truth(v_);
};

// The stored value of a column; evaluates to a reference, never a copy.
class ColumnNode final : public Node {
 public:
  ColumnNode(std::size_t slot, Type type) : Node(type), slot_(slot) {}
  const Value& eval(const Frame& f, Value& scratch) const override {
    if (!f.cols) return scratch = Value::null(type());
    return f.cols[slot_];
  }
  Tri test(const Frame& f) const override { return f.cols ? truth(f.cols[slot_]) : Tri::Null; }
  const std::size_t* column_slot() const override { return &slot_; }

 private:
  std::size_t slot_;
};

class ComputedNode final : public Node {
 public:
  ComputedNode(std::size_t field, Type type) : Node(type), field_(field) {}
  const Value& eval(const Frame& f, Value& scratch) const override { return scratch = f.ctx->computed(f.row, field_); }

 private:
  std::size_t field_;
};

class ArgumentNode final : public Node {
 public:
  ArgumentNode(std::size_t index, Type type) : Node(type), index_(index) {}
  const Value& eval(const Frame& f, Value&) const override { return f.ctx->argument(index_); }

 private:
  std::size_t index_;
};

}  // namespace kq::dw::expr
