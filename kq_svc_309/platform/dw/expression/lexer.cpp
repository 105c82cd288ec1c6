#include "platform/dw/expression/lexer.h"

#include "platform/value/decimal.h"
#include "platform/value/text.h"

namespace kq::dw::expr {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_name_start(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}
bool is_name_part(char c) { return is_name_start(c) || is_digit(c) || c == '$' || c == '#' || c == '%'; }

class Lexer {
 public:
  explicit Lexer(std::string_view text) : s_(text) {}

  Result<std::vector<Token>> run() {
    std::vector<Token> out;
    while (true) {
      while (i_ < s_.size() && is_blank(s_[i_])) ++i_;
      Token t;
      t.position = char_position(i_);
      if (i_ >= s_.size()) {
        t.kind = TokenKind::End;
        out.push_back(std::move(t));
        return out;
      }
      size_t start = i_;
      char c = s_[i_];
      if (is_digit(c) || (c == '.' && i_ + 1 < s_.size() && is_digit(s_[i_ + 1]))) {
        if (auto r = number(t); !r) return Error{r.error()};
      } else if (c == '\'' || c == '"') {
        if (auto r = string(t); !r) return Error{r.error()};
      } else if (is_name_start(c)) {
        while (i_ < s_.size() && is_name_part(s_[i_])) ++i_;
        t.kind = TokenKind::Identifier;
        t.text = std::string(s_.substr(start, i_ - start));
      } else {
        if (!punctuation(t)) {
          return make_error("syntax error at position " + std::to_string(t.position) +
                            ": expected an operand or operator, found '" + std::string(1, c) + "'");
        }
        t.text = std::string(s_.substr(start, i_ - start));
      }
      out.push_back(std::move(t));
    }
  }

 private:
  // 1-based character position of byte offset `byte`; offsets are asked in
  // increasing order, so counting continues from the previous answer.
  size_t char_position(size_t byte) {
    if (byte < counted_byte_) counted_byte_ = counted_chars_ = 0;
    counted_chars_ += text::len(s_.substr(counted_byte_, byte - counted_byte_));
    counted_byte_ = byte;
    return counted_chars_ + 1;
  }

  Result<void> number(Token& t) {
    size_t start = i_;
    bool point = false;
    while (i_ < s_.size() && is_digit(s_[i_])) ++i_;
    if (i_ < s_.size() && s_[i_] == '.') {
      point = true;
      ++i_;
      while (i_ < s_.size() && is_digit(s_[i_])) ++i_;
    }
    if (i_ < s_.size() && is_name_start(s_[i_])) {
      return make_error("syntax error at position " + std::to_string(char_position(i_)) +
                        ": expected an operator after the number, found '" + std::string(1, s_[i_]) + "'");
    }
    t.kind = TokenKind::Number;
    t.text = std::string(s_.substr(start, i_ - start));
    auto d = Decimal::parse(t.text);
    if (!d) return make_error("syntax error at position " + std::to_string(t.position) + ": number out of range");
    if (!point && d->is_integer() && d->abs() <= Decimal(static_cast<long long>(INT64_MAX)))
      t.number = Value(static_cast<long long>(d->to_int64()));
    else
      t.number = Value(*d);
    return {};
  }

  Result<void> string(Token& t) {
    char quote = s_[i_++];
    std::string content;
    while (true) {
      if (i_ >= s_.size()) {
        return make_error("syntax error at position " + std::to_string(t.position) + ": expected closing " +
                          (quote == '\'' ? "'" : "\"") + " of the string");
      }
      char c = s_[i_++];
      if (c == quote) break;
      if (c == '~' && i_ < s_.size()) {
        char e = s_[i_++];
        switch (e) {
          case 'n': content += '\n'; break;
          case 't': content += '\t'; break;
          case 'r': content += '\r'; break;
          default: content += e; break;
        }
        continue;
      }
      content += c;
    }
    t.kind = TokenKind::String;
    t.text = std::move(content);
    return {};
  }

  bool punctuation(Token& t) {
    char c = s_[i_];
    char n = i_ + 1 < s_.size() ? s_[i_ + 1] : '\0';
    ++i_;
    switch (c) {
      case '(': t.kind = TokenKind::LParen; return true;
      case ')': t.kind = TokenKind::RParen; return true;
      case ',': t.kind = TokenKind::Comma; return true;
      case '+': t.kind = TokenKind::Plus; return true;
      case '-': t.kind = TokenKind::Minus; return true;
      case '*': t.kind = TokenKind::Star; return true;
      case '/': t.kind = TokenKind::Slash; return true;
      case '=': t.kind = TokenKind::Equal; return true;
      case '<':
        if (n == '>') { ++i_; t.kind = TokenKind::NotEqual; }
        else if (n == '=') { ++i_; t.kind = TokenKind::LessEqual; }
        else t.kind = TokenKind::Less;
        return true;
      case '>':
        if (n == '=') { ++i_; t.kind = TokenKind::GreaterEqual; }
        else t.kind = TokenKind::Greater;
        return true;
      default: --i_; return false;
    }
  }

  std::string_view s_;
  size_t i_ = 0;
  size_t counted_byte_ = 0, counted_chars_ = 0;
};

}  // namespace

Result<std::vector<Token>> tokenize(std::string_view text) { return Lexer(text).run(); }

}  // namespace kq::dw::expr
