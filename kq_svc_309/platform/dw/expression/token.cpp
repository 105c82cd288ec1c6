#include "platform/dw/expression/token.h"

#include "platform/value/text.h"

namespace kq::dw::expr {

const char* token_kind_name(TokenKind kind) {
  switch (kind) {
    case TokenKind::End: return "end of text";
    case TokenKind::Number: return "a number";
    case TokenKind::String: return "a string";
    case TokenKind::Identifier: return "a name";
    case TokenKind::LParen: return "'('";
    case TokenKind::RParen: return "')'";
    case TokenKind::Comma: return "','";
    case TokenKind::Plus: return "'+'";
    case TokenKind::Minus: return "'-'";
    case TokenKind::Star: return "'*'";
    case TokenKind::Slash: return "'/'";
    case TokenKind::Equal: return "'='";
    case TokenKind::NotEqual: return "'<>'";
    case TokenKind::Less: return "'<'";
    case TokenKind::LessEqual: return "'<='";
    case TokenKind::Greater: return "'>'";
    case TokenKind::GreaterEqual: return "'>='";
  }
  return "?";
}

bool Token::is_word(const char* word) const { return kind == TokenKind::Identifier && text::iequals(text, word); }

std::string describe(const Token& token) {
  switch (token.kind) {
    case TokenKind::End: return "end of text";
    case TokenKind::String: return "string '" + token.text + "'";
    default: return "'" + token.text + "'";
  }
}

}  // namespace kq::dw::expr
