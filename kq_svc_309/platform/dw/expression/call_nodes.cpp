#include "platform/dw/expression/call_nodes.h"

#include <array>

namespace kq::dw::expr {
namespace {

Type builtin_type(const Builtin& fn, const std::vector<NodePtr>& args) {
  if (fn.result != Type::Any) return fn.result;
  return args.empty() ? Type::Any : args.front()->type();
}

class BuiltinCallNode final : public Node {
 public:
  BuiltinCallNode(const Builtin& fn, std::vector<NodePtr> args)
      : Node(builtin_type(fn, args)), fn_(fn), args_(std::move(args)) {}
  const Value& eval(const Frame& f, Value& scratch) const override {
    std::array<Value, kMaxBuiltinArgs> values;
    std::array<const Value*, kMaxBuiltinArgs> ptrs{};
    for (std::size_t i = 0; i < args_.size(); ++i) {
      ptrs[i] = &args_[i]->eval(f, values[i]);
      if (!fn_.takes_null && ptrs[i]->is_null()) return scratch = Value::null(type());
    }
    return scratch = fn_.fn(std::span<const Value* const>(ptrs.data(), args_.size()));
  }

 private:
  const Builtin& fn_;
  std::vector<NodePtr> args_;
};

class GlobalCallNode final : public Node {
 public:
  GlobalCallNode(const FunctionRegistry::Function& fn, std::vector<NodePtr> args)
      : Node(fn.result), fn_(fn), args_(std::move(args)) {}
  const Value& eval(const Frame& f, Value& scratch) const override {
    std::vector<Value> values;
    values.reserve(args_.size());
    for (const auto& a : args_) {
      Value s;
      values.push_back(a->eval(f, s));
    }
    return scratch = fn_.call(values);
  }

 private:
  const FunctionRegistry::Function& fn_;
  std::vector<NodePtr> args_;
};

class RowFunctionNode final : public Node {
 public:
  explicit RowFunctionNode(RowFunction which) : Node(Type::Long), which_(which) {}
  const Value& eval(const Frame& f, Value& scratch) const override {
    int64_t n = 0;
    switch (which_) {
      case RowFunction::CurrentRow: n = f.ctx->current_row(); break;
      case RowFunction::RowCount: n = f.ctx->row_count(); break;
      case RowFunction::GetRow: n = f.row == kNoRow ? 0 : f.ctx->row_number(f.row); break;
    }
    return scratch = Value(static_cast<long long>(n));
  }

 private:
  RowFunction which_;
};

}  // namespace

NodePtr make_builtin_call(const Builtin& fn, std::vector<NodePtr> args) {
  return std::make_unique<BuiltinCallNode>(fn, std::move(args));
}

NodePtr make_global_call(const FunctionRegistry::Function& fn, std::vector<NodePtr> args) {
  return std::make_unique<GlobalCallNode>(fn, std::move(args));
}

NodePtr make_row_function(RowFunction which) { return std::make_unique<RowFunctionNode>(which); }

}  // namespace kq::dw::expr
