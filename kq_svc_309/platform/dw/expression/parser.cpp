#include "platform/dw/expression/parser.h"

#include "platform/dw/expression/lexer.h"
#include "platform/value/text.h"

namespace kq::dw::expr {
namespace {

constexpr int kMaxDepth = 200;  // nesting limit, so that hostile text cannot exhaust the stack

SyntaxPtr make(SyntaxKind kind, size_t position) {
  auto n = std::make_unique<SyntaxNode>();
  n->kind = kind;
  n->position = position;
  return n;
}

SyntaxPtr binary(BinaryOp op, SyntaxPtr a, SyntaxPtr b, size_t position) {
  auto n = make(SyntaxKind::Binary, position);
  n->op = op;
  n->children.push_back(std::move(a));
  n->children.push_back(std::move(b));
  return n;
}

Error too_deep(size_t position) {
  return make_error("syntax error at position " + std::to_string(position) + ": expression nested too deeply");
}

bool is_reserved(const Token& t) {
  for (const char* w : {"and", "or", "not", "in", "when", "then", "else", "for"})
    if (t.is_word(w)) return true;
  return false;
}

}  // namespace

const char* binary_op_text(BinaryOp op) {
  switch (op) {
    case BinaryOp::Add: return "+";
    case BinaryOp::Subtract: return "-";
    case BinaryOp::Multiply: return "*";
    case BinaryOp::Divide: return "/";
    case BinaryOp::Equal: return "=";
    case BinaryOp::NotEqual: return "<>";
    case BinaryOp::Less: return "<";
    case BinaryOp::LessEqual: return "<=";
    case BinaryOp::Greater: return ">";
    case BinaryOp::GreaterEqual: return ">=";
    case BinaryOp::And: return "and";
    case BinaryOp::Or: return "or";
  }
  return "?";
}

bool is_aggregate_name(std::string_view name) {
  for (const char* a : {"sum", "count", "max", "min", "avg"})
    if (text::iequals(name, a)) return true;
  return false;
}

Error Parser::expected(std::string_view what) const {
  return make_error("syntax error at position " + std::to_string(peek().position) + ": expected " +
                    std::string(what) + ", found " + describe(peek()));
}

Result<void> Parser::expect(TokenKind kind) {
  if (peek().kind != kind) return expected(token_kind_name(kind));
  advance();
  return {};
}

Result<SyntaxPtr> Parser::expression() {
  if (++depth_ > kMaxDepth) {
    --depth_;
    return too_deep(peek().position);
  }
  auto r = parse_or();
  --depth_;
  return r;
}

Result<SyntaxPtr> Parser::parse_or() {
  auto left = parse_and();
  if (!left) return left;
  while (peek().is_word("or")) {
    size_t at = peek().position;
    advance();
    auto right = parse_and();
    if (!right) return right;
    left = binary(BinaryOp::Or, std::move(*left), std::move(*right), at);
  }
  return left;
}

Result<SyntaxPtr> Parser::parse_and() {
  auto left = parse_not();
  if (!left) return left;
  while (peek().is_word("and")) {
    size_t at = peek().position;
    advance();
    auto right = parse_not();
    if (!right) return right;
    left = binary(BinaryOp::And, std::move(*left), std::move(*right), at);
  }
  return left;
}

Result<SyntaxPtr> Parser::parse_not() {
  if (peek().is_word("not")) {
    size_t at = peek().position;
    advance();
    if (++depth_ > kMaxDepth) return too_deep(at);
    auto operand = parse_not();
    --depth_;
    if (!operand) return operand;
    auto n = make(SyntaxKind::Not, at);
    n->children.push_back(std::move(*operand));
    return n;
  }
  return parse_compare();
}

Result<SyntaxPtr> Parser::parse_compare() {
  auto left = parse_sum();
  if (!left) return left;
  const Token& t = peek();
  size_t at = t.position;
  if (t.is_word("in")) {
    advance();
    return parse_in(std::move(*left), false, at);
  }
  if (t.is_word("not") && pos_ + 1 < tokens_.size() && tokens_[pos_ + 1].is_word("in")) {
    advance();
    advance();
    return parse_in(std::move(*left), true, at);
  }
  BinaryOp op;
  switch (t.kind) {
    case TokenKind::Equal: op = BinaryOp::Equal; break;
    case TokenKind::NotEqual: op = BinaryOp::NotEqual; break;
    case TokenKind::Less: op = BinaryOp::Less; break;
    case TokenKind::LessEqual: op = BinaryOp::LessEqual; break;
    case TokenKind::Greater: op = BinaryOp::Greater; break;
    case TokenKind::GreaterEqual: op = BinaryOp::GreaterEqual; break;
    default: return left;
  }
  advance();
  auto right = parse_sum();
  if (!right) return right;
  return binary(op, std::move(*left), std::move(*right), at);
}

Result<SyntaxPtr> Parser::parse_in(SyntaxPtr subject, bool negated, size_t position) {
  if (auto r = expect(TokenKind::LParen); !r) return Error{r.error()};
  auto n = make(SyntaxKind::In, position);
  n->negated = negated;
  n->children.push_back(std::move(subject));
  while (true) {
    auto item = expression();
    if (!item) return item;
    n->children.push_back(std::move(*item));
    if (peek().kind == TokenKind::Comma) {
      advance();
      continue;
    }
    if (peek().kind == TokenKind::RParen) {
      advance();
      return n;
    }
    return expected("',' or ')'");
  }
}

Result<SyntaxPtr> Parser::parse_sum() {
  auto left = parse_product();
  if (!left) return left;
  while (peek().kind == TokenKind::Plus || peek().kind == TokenKind::Minus) {
    BinaryOp op = peek().kind == TokenKind::Plus ? BinaryOp::Add : BinaryOp::Subtract;
    size_t at = peek().position;
    advance();
    auto right = parse_product();
    if (!right) return right;
    left = binary(op, std::move(*left), std::move(*right), at);
  }
  return left;
}

Result<SyntaxPtr> Parser::parse_product() {
  auto left = parse_unary();
  if (!left) return left;
  while (peek().kind == TokenKind::Star || peek().kind == TokenKind::Slash) {
    BinaryOp op = peek().kind == TokenKind::Star ? BinaryOp::Multiply : BinaryOp::Divide;
    size_t at = peek().position;
    advance();
    auto right = parse_unary();
    if (!right) return right;
    left = binary(op, std::move(*left), std::move(*right), at);
  }
  return left;
}

Result<SyntaxPtr> Parser::parse_unary() {
  if (peek().kind == TokenKind::Minus || peek().kind == TokenKind::Plus) {
    bool minus = peek().kind == TokenKind::Minus;
    size_t at = peek().position;
    advance();
    if (++depth_ > kMaxDepth) return too_deep(at);
    auto operand = parse_unary();
    --depth_;
    if (!operand || !minus) return operand;
    auto n = make(SyntaxKind::Negate, at);
    n->children.push_back(std::move(*operand));
    return n;
  }
  return parse_primary();
}

Result<SyntaxPtr> Parser::parse_primary() {
  const Token t = peek();
  switch (t.kind) {
    case TokenKind::Number: {
      advance();
      auto n = make(SyntaxKind::Literal, t.position);
      n->value = t.number;
      return n;
    }
    case TokenKind::String: {
      advance();
      auto n = make(SyntaxKind::Literal, t.position);
      n->value = Value(t.text);
      return n;
    }
    case TokenKind::LParen: {
      advance();
      auto inner = expression();
      if (!inner) return inner;
      if (auto r = expect(TokenKind::RParen); !r) return Error{r.error()};
      return inner;
    }
    case TokenKind::Identifier: {
      if (is_reserved(t)) return expected("an operand");
      advance();
      if (peek().kind == TokenKind::LParen) {
        if (text::iequals(t.text, "case")) return parse_case(t);
        if (is_aggregate_name(t.text)) return parse_aggregate(t);
        return parse_call(t);
      }
      if (t.is_word("true") || t.is_word("false")) {
        auto n = make(SyntaxKind::Literal, t.position);
        n->value = Value(t.is_word("true"));
        return n;
      }
      auto n = make(SyntaxKind::Name, t.position);
      n->name = t.text;
      return n;
    }
    default: return expected("an operand");
  }
}

Result<SyntaxPtr> Parser::parse_call(const Token& name) {
  advance();  // '('
  auto n = make(SyntaxKind::Call, name.position);
  n->name = name.text;
  if (peek().kind == TokenKind::RParen) {
    advance();
    return n;
  }
  while (true) {
    auto arg = expression();
    if (!arg) return arg;
    n->children.push_back(std::move(*arg));
    if (peek().kind == TokenKind::Comma) {
      advance();
      continue;
    }
    if (auto r = expect(TokenKind::RParen); !r) return expected("',' or ')'");
    return n;
  }
}

Result<SyntaxPtr> Parser::parse_aggregate(const Token& name) {
  advance();  // '('
  auto n = make(SyntaxKind::Aggregate, name.position);
  n->name = name.text;
  auto arg = expression();
  if (!arg) return arg;
  n->children.push_back(std::move(*arg));
  if (peek().is_word("for")) {
    advance();
    if (!peek().is_word("all")) return expected("'all'");
    advance();
  }
  if (peek().kind != TokenKind::RParen) return expected("'for all' or ')'");
  advance();
  return n;
}

Result<SyntaxPtr> Parser::parse_case(const Token& name) {
  advance();  // '('
  auto n = make(SyntaxKind::Case, name.position);
  auto subject = expression();
  if (!subject) return subject;
  n->children.push_back(std::move(*subject));
  if (!peek().is_word("when")) return expected("'when'");
  while (peek().is_word("when")) {
    advance();
    CaseArm arm;
    while (true) {
      auto v = expression();
      if (!v) return v;
      arm.values.push_back(std::move(*v));
      if (peek().kind != TokenKind::Comma) break;
      advance();
    }
    if (!peek().is_word("then")) return expected("',' or 'then'");
    advance();
    auto r = expression();
    if (!r) return r;
    arm.result = std::move(*r);
    n->arms.push_back(std::move(arm));
  }
  if (peek().is_word("else")) {
    advance();
    auto e = expression();
    if (!e) return e;
    n->otherwise = std::move(*e);
  }
  if (peek().kind != TokenKind::RParen) return expected(n->otherwise ? "')'" : "'when', 'else' or ')'");
  advance();
  return n;
}

Result<SyntaxPtr> parse(std::string_view text) {
  auto tokens = tokenize(text);
  if (!tokens) return Error{tokens.error()};
  Parser p(std::move(*tokens));
  if (p.peek().kind == TokenKind::End) return p.expected("an expression");
  auto tree = p.expression();
  if (!tree) return tree;
  if (p.peek().kind != TokenKind::End) return p.expected("an operator or end of text");
  return tree;
}

}  // namespace kq::dw::expr
