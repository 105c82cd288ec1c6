#include "platform/dw/expression/filter.h"

#include "platform/value/text.h"

namespace kq::dw::expr {

Result<Filter> Filter::compile(std::string_view text, const Resolver& resolver) {
  Filter f;
  f.text_ = std::string(text);
  if (text::trim(text).empty()) return f;
  auto e = expr::compile(text, resolver);
  if (!e) return Error{e.error()};
  Type t = e->type();
  if (t == Type::String || t == Type::DateTime || t == Type::Blob)
    return make_error(std::string("a filter must be a condition, not ") + type_name(t));
  f.expr_ = std::move(*e);
  return f;
}

bool Filter::keeps(const RowContext& ctx, RowId row) const {
  if (!expr_) return true;
  return expr_->root().test(make_frame(ctx, row)) == Tri::True;
}

void Filter::apply(const RowContext& ctx, std::span<const RowId> rows, std::vector<RowId>& kept,
                   std::vector<RowId>& dropped) const {
  if (!expr_) {
    kept.insert(kept.end(), rows.begin(), rows.end());
    return;
  }
  const Node& root = expr_->root();
  for (RowId row : rows) {
    if (root.test(Frame{&ctx, row, ctx.columns(row)}) == Tri::True) kept.push_back(row);
    else dropped.push_back(row);
  }
}

}  // namespace kq::dw::expr
