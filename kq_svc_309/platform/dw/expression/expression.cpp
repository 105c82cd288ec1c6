#include "platform/dw/expression/expression.h"

#include "platform/dw/expression/binder.h"
#include "platform/dw/expression/operand_nodes.h"
#include "platform/dw/expression/parser.h"

namespace kq::dw::expr {

Expression::Expression() : root_(std::make_shared<ConstantNode>(Value())) {}

Value Expression::evaluate(const RowContext& ctx, RowId row) const {
  Value scratch;
  const Value& v = root_->eval(make_frame(ctx, row), scratch);
  return &v == &scratch ? std::move(scratch) : v;
}

std::optional<bool> Expression::test(const RowContext& ctx, RowId row) const {
  Tri t = root_->test(make_frame(ctx, row));
  if (t == Tri::Null) return std::nullopt;
  return t == Tri::True;
}

Result<Expression> compile(std::string_view text, const Resolver& resolver) {
  auto tree = parse(text);
  if (!tree) return Error{tree.error()};
  return compile_tree(**tree, text, resolver);
}

Result<Expression> compile_tree(const SyntaxNode& tree, std::string_view text, const Resolver& resolver) {
  Binder binder(resolver);
  auto root = binder.bind(tree);
  if (!root) return Error{root.error()};
  Expression e;
  e.root_ = std::shared_ptr<const Node>(std::move(*root));
  e.text_ = std::string(text);
  e.computed_ = binder.computed_fields();
  e.has_aggregate_ = binder.has_aggregate();
  return e;
}

}  // namespace kq::dw::expr
