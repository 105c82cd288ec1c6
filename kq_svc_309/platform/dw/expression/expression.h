#pragma once
// A compiled expression of a data window: computed fields, visibility and
// other property expressions, filters and sort keys.
//
// compile() parses the text once and binds every name through a Resolver;
// the resulting tree holds column slots, computed-field and argument numbers
// and function pointers, so evaluation neither parses nor looks names up.
//
//   NameTable names(&registry);
//   names.add_column("cwtsbh", Type::String);
//   names.add_column("cwxzt", Type::String);
//   auto title = compile("if(left(cwtsbh,1) = 'A','保险结算单','结算单')", names);
//   if (!title) report(title.error());
//   Value v = title->evaluate(context, row);   // context: the data window's RowContext
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dw/expression/binding.h"
#include "platform/dw/expression/node.h"
#include "platform/dw/expression/row_context.h"
#include "platform/dw/expression/syntax_tree.h"
#include "platform/result.h"

namespace kq::dw::expr {

class Expression {
 public:
  // An expression that is always null (what a missing expression evaluates to).
  Expression();

  // The value for `row` (kNoRow for an object outside the rows, such as a
  // footer). Column values of the row are read in place.
  Value evaluate(const RowContext& ctx, RowId row) const;
  // The value as a condition: nullopt when it is null (or not a truth value).
  std::optional<bool> test(const RowContext& ctx, RowId row) const;

  // The static result type; Any when it depends on the data.
  Type type() const { return root_->type(); }
  const std::string& text() const { return text_; }
  // Computed fields (by number) that the expression reads directly.
  const std::vector<std::size_t>& computed_fields() const { return computed_; }
  // True when the expression contains sum, count, max, min or avg.
  bool has_aggregate() const { return has_aggregate_; }
  // The constant value when the expression does not depend on any row.
  const Value* constant() const { return root_->constant(); }
  // The column slot when the expression is a plain column name.
  const std::size_t* column_slot() const { return root_->column_slot(); }

  // The bound tree, for the engine's own loops (filter, sort).
  const Node& root() const { return *root_; }

 private:
  friend Result<Expression> compile_tree(const SyntaxNode& tree, std::string_view text, const Resolver& resolver);
  std::shared_ptr<const Node> root_;
  std::string text_;
  std::vector<std::size_t> computed_;
  bool has_aggregate_ = false;
};

// Parses and binds `text`. Errors: a syntax error with its character
// position and what was expected; an unknown name or function, a wrong number
// of arguments, or operands of types that cannot meet (text compared with a
// number, arithmetic on text or dates, an aggregate inside an aggregate), each
// naming the culprit and its position.
Result<Expression> compile(std::string_view text, const Resolver& resolver);

// Binds a tree parsed already (by a language that embeds expressions, such as
// the key lists of sorts); `text` is the expression's source, kept for messages.
Result<Expression> compile_tree(const SyntaxNode& tree, std::string_view text, const Resolver& resolver);

}  // namespace kq::dw::expr
