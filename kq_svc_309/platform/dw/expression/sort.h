#pragma once
// A data window sort: the text given to setsort, compiled once.
//
// The text lists keys separated by commas, each an expression (usually a
// column name) followed by A (ascending) or D (descending), case and spacing
// free: "djsrq D ,cwtsbh A". A key without a direction is ascending. Values
// are ordered as sort_order() says, nulls first; a descending key reverses
// that order (nulls last). Rows that tie on every key keep their order.
//
//   auto s = Sort::compile("djsrq D ,cwtsbh A", names);
//   s->apply(context, rows);   // rows: std::vector<RowId>
#include <string_view>
#include <vector>

#include "platform/dw/expression/expression.h"
#include "platform/result.h"

namespace kq::dw::expr {

class Sort {
 public:
  struct Key {
    Expression expr;
    bool descending = false;
  };

  // An empty (or blank) text gives a sort without keys, which keeps the order.
  static Result<Sort> compile(std::string_view text, const Resolver& resolver);

  // <0 when row a goes before row b, 0 when they tie, >0 after.
  int compare(const RowContext& ctx, RowId a, RowId b) const;
  // Reorders `rows` stably. Each key is evaluated once per row.
  void apply(const RowContext& ctx, std::vector<RowId>& rows) const;

  const std::vector<Key>& keys() const { return keys_; }
  const std::string& text() const { return text_; }

 private:
  std::vector<Key> keys_;
  std::string text_;
};

}  // namespace kq::dw::expr
