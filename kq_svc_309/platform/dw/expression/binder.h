#pragma once
// Turns a syntax tree into bound nodes: resolves names and functions through
// a Resolver, checks arities and operand types, and folds parts that do not
// depend on the row into constants ("1 = 1" becomes true, "x and true" x).
#include <cstddef>
#include <vector>

#include "platform/dw/expression/binding.h"
#include "platform/dw/expression/node.h"
#include "platform/dw/expression/syntax_tree.h"
#include "platform/result.h"

namespace kq::dw::expr {

class Binder {
 public:
  explicit Binder(const Resolver& resolver) : resolver_(resolver) {}

  Result<NodePtr> bind(const SyntaxNode& n);

  // Computed fields read directly, each once, in order of first use.
  const std::vector<std::size_t>& computed_fields() const { return computed_; }
  bool has_aggregate() const { return has_aggregate_; }

 private:
  Result<NodePtr> bind_name(const SyntaxNode& n);
  Result<NodePtr> bind_binary(const SyntaxNode& n);
  Result<NodePtr> bind_in(const SyntaxNode& n);
  Result<NodePtr> bind_call(const SyntaxNode& n);
  Result<NodePtr> bind_aggregate(const SyntaxNode& n);
  Result<NodePtr> bind_case(const SyntaxNode& n);
  Result<std::vector<NodePtr>> bind_all(const std::vector<SyntaxPtr>& nodes);

  const Resolver& resolver_;
  std::vector<std::size_t> computed_;
  bool has_aggregate_ = false;
  int aggregate_depth_ = 0;
};

}  // namespace kq::dw::expr
