#pragma once
// Parser of the data window expression language into a SyntaxNode tree.
//
// Grammar, loosest binding first:
//   or      := and ("or" and)*
//   and     := not ("and" not)*
//   not     := "not" not | compare
//   compare := sum [("=" | "<>" | "<" | "<=" | ">" | ">=") sum | ["not"] "in" "(" expr ("," expr)* ")"]
//   sum     := product (("+" | "-") product)*
//   product := unary (("*" | "/") unary)*
//   unary   := ("-" | "+") unary | primary
//   primary := number | string | "true" | "false" | name | "(" or ")"
//            | name "(" [expr ("," expr)*] ")"
//            | aggregate "(" expr ["for" "all"] ")"        aggregate: sum count max min avg
//            | "case" "(" expr ("when" expr ("," expr)* "then" expr)+ ["else" expr] ")"
// Keywords and function names are case-insensitive.
#include <string_view>
#include <vector>

#include "platform/dw/expression/syntax_tree.h"
#include "platform/dw/expression/token.h"
#include "platform/result.h"

namespace kq::dw::expr {

// The tree of a whole expression text. A syntax error names the character
// position and what was expected there.
Result<SyntaxPtr> parse(std::string_view text);

// A parser over tokens, for languages that embed expressions (the key lists of sorts).
class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  // One expression starting at the current token; stops before the first
  // token that cannot continue it.
  Result<SyntaxPtr> expression();

  const Token& peek() const { return tokens_[pos_]; }
  void advance() {
    if (pos_ + 1 < tokens_.size()) ++pos_;
  }
  // An error "syntax error at position P: expected WHAT, found TOKEN" at the current token.
  Error expected(std::string_view what) const;

 private:
  Result<SyntaxPtr> parse_or();
  Result<SyntaxPtr> parse_and();
  Result<SyntaxPtr> parse_not();
  Result<SyntaxPtr> parse_compare();
  Result<SyntaxPtr> parse_sum();
  Result<SyntaxPtr> parse_product();
  Result<SyntaxPtr> parse_unary();
  Result<SyntaxPtr> parse_primary();
  Result<SyntaxPtr> parse_call(const Token& name);
  Result<SyntaxPtr> parse_case(const Token& name);
  Result<SyntaxPtr> parse_aggregate(const Token& name);
  Result<SyntaxPtr> parse_in(SyntaxPtr subject, bool negated, size_t position);
  Result<void> expect(TokenKind kind);

  std::vector<Token> tokens_;
  size_t pos_ = 0;
  int depth_ = 0;
};

// True for the names of aggregate functions (sum, count, max, min, avg).
bool is_aggregate_name(std::string_view name);

}  // namespace kq::dw::expr
