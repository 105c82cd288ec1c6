#pragma once
// A data window filter: the text given to setfilter, compiled once into a
// predicate. A row stays when the expression is true; false and null drop it.
// An empty (or blank) text keeps every row; text, date or blob valued
// expressions are rejected.
//
//   auto f = Filter::compile("cwxzt = '0'", names);
//   std::vector<RowId> kept, dropped;
//   f->apply(context, all_rows, kept, dropped);
#include <span>
#include <string_view>
#include <vector>

#include "platform/dw/expression/expression.h"
#include "platform/result.h"

namespace kq::dw::expr {

class Filter {
 public:
  static Result<Filter> compile(std::string_view text, const Resolver& resolver);

  // True when `row` passes.
  bool keeps(const RowContext& ctx, RowId row) const;
  // Appends each of `rows`, in order, to `kept` or `dropped`.
  void apply(const RowContext& ctx, std::span<const RowId> rows, std::vector<RowId>& kept,
             std::vector<RowId>& dropped) const;

  // False for the empty filter that keeps every row.
  bool active() const { return expr_.has_value(); }
  const std::string& text() const { return text_; }

 private:
  std::optional<Expression> expr_;
  std::string text_;
};

}  // namespace kq::dw::expr
