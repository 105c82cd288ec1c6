#include "platform/db/dialect/sql_lexer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kq::db::sql {
namespace {

std::vector<std::string> texts(std::string_view sql) {
  auto tokens = lex(sql);
  EXPECT_TRUE(tokens.ok()) << (tokens.ok() ? "" : tokens.error());
  std::vector<std::string> out;
  if (tokens.ok())
    for (const Token& t : *tokens) out.emplace_back(t.text);
  return out;
}

std::vector<TokenKind> kinds(std::string_view sql) {
  std::vector<TokenKind> out;
  auto tokens = lex(sql);
  if (tokens.ok())
    for (const Token& t : *tokens) out.push_back(t.kind);
  return out;
}

TEST(SqlLexer, DottedNamesAreOneWord) {
  EXPECT_EQ(texts("select a.b, kq_club..club01c, dbo.f_retu_gsh(), v.* from t"),
            (std::vector<std::string>{"select", "a.b", ",", "kq_club..club01c", ",", "dbo.f_retu_gsh", "(", ")", ",",
                                      "v.*", "from", "t"}));
  EXPECT_EQ(kinds("kq_club..club01c"), std::vector<TokenKind>{TokenKind::Word});
  EXPECT_EQ(texts("[order].[id] \"x y\".z"), (std::vector<std::string>{"[order].[id]", "\"x y\".z"}));
}

TEST(SqlLexer, StringsKeepQuotesDoubledQuotesAndChineseText) {
  auto tokens = lex("cbz = '取消''结算' + N'说明'");
  ASSERT_TRUE(tokens.ok());
  ASSERT_EQ(tokens->size(), 5u);
  EXPECT_EQ((*tokens)[2].kind, TokenKind::String);
  EXPECT_EQ((*tokens)[2].text, "'取消''结算'");
  EXPECT_EQ((*tokens)[4].kind, TokenKind::String);
  EXPECT_EQ((*tokens)[4].text, "N'说明'");
  EXPECT_EQ(texts("''"), std::vector<std::string>{"''"});
}

TEST(SqlLexer, HostVariablesAlsoWithoutBlankAfterEquals) {
  auto tokens = lex("cgsh =:gs_gsh and x=:Ls_A.b,:c");
  ASSERT_TRUE(tokens.ok());
  std::vector<std::string> hosts;
  for (const Token& t : *tokens)
    if (t.kind == TokenKind::HostVar) hosts.emplace_back(t.text);
  EXPECT_EQ(hosts, (std::vector<std::string>{":gs_gsh", ":Ls_A.b", ":c"}));
  EXPECT_EQ((*tokens)[1].text, "=");
  EXPECT_FALSE((*tokens)[2].space_before);
  // A colon inside a string is text, not a host variable.
  EXPECT_EQ(kinds("':x'"), std::vector<TokenKind>{TokenKind::String});
}

TEST(SqlLexer, NumbersAndOperators) {
  EXPECT_EQ(texts("1 100.00 .5 1e3 2E-2"), (std::vector<std::string>{"1", "100.00", ".5", "1e3", "2E-2"}));
  EXPECT_EQ(texts("a<>b<=c>=d!=e=f+g-h*i/j%k||l"),
            (std::vector<std::string>{"a", "<>", "b", "<=", "c", ">=", "d", "!=", "e", "=",  "f", "+",
                                      "g", "-",  "h", "*",  "i", "/",  "j", "%",  "k", "||", "l"}));
  for (auto kind : kinds("<> <= >= = + - * / %")) EXPECT_EQ(kind, TokenKind::Operator);
  EXPECT_EQ(kinds("( , ) ;"),
            (std::vector<TokenKind>{TokenKind::LParen, TokenKind::Comma, TokenKind::RParen, TokenKind::Semicolon}));
}

TEST(SqlLexer, CommentsAndWhitespaceOnlySeparate) {
  auto tokens = lex("select/* note */a -- rest\n,b");
  ASSERT_TRUE(tokens.ok());
  ASSERT_EQ(tokens->size(), 4u);
  EXPECT_EQ((*tokens)[1].text, "a");
  EXPECT_TRUE((*tokens)[1].space_before);
  EXPECT_TRUE((*tokens)[2].space_before);
  EXPECT_FALSE((*tokens)[3].space_before);
}

TEST(SqlLexer, TokensKeepTheirOffsets) {
  auto tokens = lex("select  x\n from t");
  ASSERT_TRUE(tokens.ok());
  EXPECT_EQ((*tokens)[1].offset, 8u);
  EXPECT_EQ((*tokens)[2].offset, 11u);
  EXPECT_EQ(describe_position("select  x\n from t", 11), "line 2, column 2");
  // Columns count characters, not bytes.
  EXPECT_EQ(describe_position("'结算' x", 9), "line 1, column 6");
}

TEST(SqlLexer, ErrorsNamePositionAndCharacter) {
  struct Case {
    const char* sql;
    const char* expected;
  } cases[] = {
      {"select 'abc", "unterminated string at line 1, column 8"},
      {"select @x", "unexpected character '@' at line 1, column 8"},
      {"select a\nfrom #t", "unexpected character '#' at line 2, column 6"},
      {"where x = : y", "host variable without a name after ':' at line 1, column 11"},
      {"select /* open", "unterminated comment '/*' at line 1, column 8"},
      {"select [x", "unterminated quoted name at line 1, column 8"},
      {"select 12abc", "unexpected character 'a' after a number at line 1, column 10"},
      {"select ?", "unexpected character '?' at line 1, column 8"},
  };
  for (const Case& c : cases) {
    auto tokens = lex(c.sql);
    ASSERT_FALSE(tokens.ok()) << c.sql;
    EXPECT_EQ(tokens.error(), c.expected) << c.sql;
  }
}

}  // namespace
}  // namespace kq::db::sql
