#include "platform/db/dialect/sql_lexer.h"

#include <cstdio>

namespace kq::db::sql {
namespace {

bool is_space(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }
// Letters, '_' and any byte of a multi-byte UTF-8 character start a name.
bool is_name_start(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}
bool is_name_char(unsigned char c) { return is_name_start(c) || is_digit(c) || c == '$'; }

std::string show_char(unsigned char c) {
  if (c >= 0x20 && c < 0x7f) return std::string("'") + static_cast<char>(c) + "'";
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%02x", c);
  return buf;
}

class Lexer {
 public:
  explicit Lexer(std::string_view sql) : s_(sql) {}

  Result<std::vector<Token>> run() {
    std::vector<Token> out;
    out.reserve(s_.size() / 4 + 1);
    bool space = false;
    while (true) {
      auto skipped = skip_blank();
      if (!skipped) return Error{skipped.error()};
      space = space || *skipped;
      if (i_ >= s_.size()) break;
      size_t start = i_;
      auto kind = next();
      if (!kind) return Error{kind.error()};
      out.push_back(Token{*kind, s_.substr(start, i_ - start), static_cast<uint32_t>(start), space});
      space = false;
    }
    return out;
  }

 private:
  Error error_at(size_t offset, const std::string& what) const {
    return Error{what + " at " + describe_position(s_, offset)};
  }

  unsigned char at(size_t k) const { return k < s_.size() ? static_cast<unsigned char>(s_[k]) : 0; }

  // Skips whitespace and comments; true when anything was skipped.
  Result<bool> skip_blank() {
    bool any = false;
    while (i_ < s_.size()) {
      unsigned char c = at(i_);
      if (is_space(c)) {
        ++i_;
      } else if (c == '-' && at(i_ + 1) == '-') {
        while (i_ < s_.size() && s_[i_] != '\n') ++i_;
      } else if (c == '/' && at(i_ + 1) == '*') {
        size_t end = s_.find("*/", i_ + 2);
        if (end == std::string_view::npos) return error_at(i_, "unterminated comment '/*'");
        i_ = end + 2;
      } else {
        break;
      }
      any = true;
    }
    return any;
  }

  Result<TokenKind> next() {
    unsigned char c = at(i_);
    if ((c == 'N' || c == 'n') && at(i_ + 1) == '\'') {
      ++i_;
      return string_literal();
    }
    if (c == '\'') return string_literal();
    if (is_name_start(c) || c == '[' || c == '"') return word();
    if (is_digit(c) || (c == '.' && is_digit(at(i_ + 1)))) return number();
    switch (c) {
      case '(':
        ++i_;
        return TokenKind::LParen;
      case ')':
        ++i_;
        return TokenKind::RParen;
      case ',':
        ++i_;
        return TokenKind::Comma;
      case ';':
        ++i_;
        return TokenKind::Semicolon;
      case ':':
        return host_var();
      case '<':
        ++i_;
        if (at(i_) == '>' || at(i_) == '=') ++i_;
        return TokenKind::Operator;
      case '>':
        ++i_;
        if (at(i_) == '=') ++i_;
        return TokenKind::Operator;
      case '!':
        if (at(i_ + 1) == '=') {
          i_ += 2;
          return TokenKind::Operator;
        }
        break;
      case '|':
        ++i_;
        if (at(i_) == '|') ++i_;
        return TokenKind::Operator;
      case '=':
      case '+':
      case '-':
      case '*':
      case '/':
      case '%':
      case '&':
      case '^':
      case '~':
        ++i_;
        return TokenKind::Operator;
      default:
        break;
    }
    return error_at(i_, "unexpected character " + show_char(c));
  }

  Result<TokenKind> string_literal() {
    size_t start = i_;
    ++i_;  // opening quote
    while (true) {
      if (i_ >= s_.size()) return error_at(start, "unterminated string");
      if (s_[i_] == '\'') {
        if (at(i_ + 1) == '\'') {
          i_ += 2;
          continue;
        }
        ++i_;
        return TokenKind::String;
      }
      ++i_;
    }
  }

  // One part of a dotted name: a plain name, [quoted] or "quoted".
  Result<void> name_part() {
    unsigned char c = at(i_);
    if (c == '[' || c == '"') {
      char close = c == '[' ? ']' : '"';
      size_t end = s_.find(close, i_ + 1);
      if (end == std::string_view::npos) return error_at(i_, "unterminated quoted name");
      i_ = end + 1;
      return {};
    }
    while (i_ < s_.size() && is_name_char(at(i_))) ++i_;
    return {};
  }

  Result<TokenKind> word() {
    auto part = name_part();
    if (!part) return Error{part.error()};
    // Dotted continuation: a.b, a..b (database..table), a.*.
    while (at(i_) == '.') {
      size_t k = i_ + 1;
      if (at(k) == '.') ++k;
      unsigned char c = at(k);
      if (c == '*') {
        i_ = k + 1;
        break;
      }
      if (!is_name_start(c) && c != '[' && c != '"') break;
      i_ = k;
      part = name_part();
      if (!part) return Error{part.error()};
    }
    return TokenKind::Word;
  }

  Result<TokenKind> number() {
    while (is_digit(at(i_))) ++i_;
    if (at(i_) == '.') {
      ++i_;
      while (is_digit(at(i_))) ++i_;
    }
    if ((at(i_) == 'e' || at(i_) == 'E') &&
        (is_digit(at(i_ + 1)) || ((at(i_ + 1) == '+' || at(i_ + 1) == '-') && is_digit(at(i_ + 2))))) {
      i_ += 2;
      while (is_digit(at(i_))) ++i_;
    }
    if (is_name_start(at(i_))) return error_at(i_, "unexpected character " + show_char(at(i_)) + " after a number");
    return TokenKind::Number;
  }

  Result<TokenKind> host_var() {
    size_t start = i_;
    ++i_;
    if (!is_name_start(at(i_))) return error_at(start, "host variable without a name after ':'");
    while (is_name_char(at(i_)) || (at(i_) == '.' && is_name_start(at(i_ + 1)))) ++i_;
    return TokenKind::HostVar;
  }

  std::string_view s_;
  size_t i_ = 0;
};

}  // namespace

Result<std::vector<Token>> lex(std::string_view sql) { return Lexer(sql).run(); }

std::string describe_position(std::string_view sql, size_t offset) {
  if (offset > sql.size()) offset = sql.size();
  size_t line = 1, column = 1;
  for (size_t k = 0; k < offset; ++k) {
    unsigned char c = static_cast<unsigned char>(sql[k]);
    if (c == '\n') {
      ++line;
      column = 1;
    } else if ((c & 0xC0) != 0x80) {  // not a UTF-8 continuation byte
      ++column;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

}  // namespace kq::db::sql
