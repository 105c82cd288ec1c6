#include "platform/dw/expression/sort.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

#include "platform/dw/expression/lexer.h"
#include "platform/dw/expression/parser.h"
#include "platform/dw/expression/sort_keys.h"
#include "platform/dw/expression/sort_order.h"
#include "platform/value/text.h"

namespace kq::dw::expr {

Result<Sort> Sort::compile(std::string_view text, const Resolver& resolver) {
  Sort s;
  s.text_ = std::string(text);
  auto tokens = tokenize(text);
  if (!tokens) return Error{tokens.error()};
  Parser p(std::move(*tokens));
  if (p.peek().kind == TokenKind::End) return s;
  while (true) {
    size_t start = p.peek().position;
    auto tree = p.expression();
    if (!tree) return Error{tree.error()};
    size_t end = p.peek().position;  // the key's text runs up to the next token
    Key key{Expression(), false};
    if (p.peek().is_word("a") || p.peek().is_word("d")) {
      key.descending = p.peek().is_word("d");
      p.advance();
    }
    size_t b = text::byte_offset(text, start - 1), e = text::byte_offset(text, end - 1);
    auto bound = compile_tree(**tree, text::trim(text.substr(b, e - b)), resolver);
    if (!bound) return Error{bound.error()};
    key.expr = std::move(*bound);
    s.keys_.push_back(std::move(key));
    if (p.peek().kind == TokenKind::End) return s;
    if (p.peek().kind != TokenKind::Comma) return p.expected("'A', 'D', ',' or end of text");
    p.advance();
  }
}

int Sort::compare(const RowContext& ctx, RowId a, RowId b) const {
  for (const Key& k : keys_) {
    int c = sort_order(k.expr.evaluate(ctx, a), k.expr.evaluate(ctx, b));
    if (c != 0) return k.descending ? -c : c;
  }
  return 0;
}

void Sort::apply(const RowContext& ctx, std::vector<RowId>& rows) const {
  if (keys_.empty() || rows.size() < 2) return;
  std::vector<SortKeyValues> keys;
  keys.reserve(keys_.size());
  for (const Key& k : keys_) keys.emplace_back(k.expr, k.descending, ctx, rows);

  std::vector<uint32_t> order(rows.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(), [&keys](uint32_t i, uint32_t j) {
    for (const SortKeyValues& k : keys) {
      int c = k.compare(i, j);
      if (c != 0) return c < 0;
    }
    return false;
  });
  std::vector<RowId> sorted(rows.size());
  for (std::size_t i = 0; i < order.size(); ++i) sorted[i] = rows[order[i]];
  rows.swap(sorted);
}

}  // namespace kq::dw::expr
