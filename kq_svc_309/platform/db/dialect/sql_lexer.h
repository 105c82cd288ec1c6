#pragma once
// Lexer for the module's Transact-SQL text: embedded statements with host
// variables ":name" and data window queries with retrieval arguments ":name".
//
// Tokens are slices of the source and keep their byte offset, so that every
// error can name the line and column where it happened.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace kq::db::sql {

enum class TokenKind {
  Word,      // identifier or keyword, possibly dotted: a.b, kq_club..club01c, dbo.f_retu_gsh, a.*
  String,    // '...' with '' for a quote inside; the text keeps the quotes (and an N prefix)
  Number,    // 12, 1.5, .5, 1e3
  Operator,  // = <> != < > <= >= + - * / % & | ^ ~ ||
  LParen,
  RParen,
  Comma,
  Semicolon,
  HostVar,  // :name, the text keeps the colon
};

struct Token {
  TokenKind kind = TokenKind::Word;
  std::string_view text;      // slice of the source
  uint32_t offset = 0;        // byte offset of the first character in the source
  bool space_before = false;  // whitespace or a comment separates it from the previous token
};

// Splits `sql` into tokens; whitespace and comments (-- to the end of the
// line, /* ... */) only set space_before. An error names the position and the
// offending character: an unterminated string, quoted name or comment, a colon
// without a name, or a character that has no place in the module's SQL
// (@, #, `, ?, $, {, }, \, control characters).
Result<std::vector<Token>> lex(std::string_view sql);

// "line L, column C" of a byte offset; lines and columns count from 1, columns
// count characters (UTF-8), not bytes.
std::string describe_position(std::string_view sql, size_t offset);

}  // namespace kq::db::sql
