#pragma once
// Tokens of the data window expression language.
#include <cstddef>
#include <string>

#include "platform/value/value.h"

namespace kq::dw::expr {

enum class TokenKind {
  End,         // end of the text
  Number,      // 12, 100.00, .5
  String,      // 'text' or "text"
  Identifier,  // names, keywords and function names (case-insensitive)
  LParen,
  RParen,
  Comma,
  Plus,
  Minus,
  Star,
  Slash,
  Equal,         // =
  NotEqual,      // <>
  Less,          // <
  LessEqual,     // <=
  Greater,       // >
  GreaterEqual,  // >=
};

// Readable name of a token kind for messages ("')'", "a number").
const char* token_kind_name(TokenKind kind);

struct Token {
  TokenKind kind = TokenKind::End;
  // Source text of the token; for a String the content with escapes resolved.
  std::string text;
  // Number literals: a whole number is a Long, one with a decimal point (or
  // too large for a Long) a Decimal.
  Value number;
  // 1-based character (not byte) position of the token's first character.
  size_t position = 1;

  // True for an Identifier whose text equals `word`, ignoring ASCII case.
  bool is_word(const char* word) const;
};

// How a token is shown in an error message: "'and'", "')'", "end of text".
std::string describe(const Token& token);

}  // namespace kq::dw::expr
