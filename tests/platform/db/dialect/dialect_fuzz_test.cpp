// Truncated, mutated and random texts never crash the lexer or a dialect:
// each gives a translation whose placeholders match its parameters, or an
// error that names a position.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "fixture_db.h"
#include "support/module_statements.h"
#include "platform/db/dialect/dialect.h"
#include "platform/db/dialect/sql_lexer.h"

namespace kq::db {
namespace {

using testing::FixtureDb;
using kq::testing::module_statements;

size_t count_placeholders(std::string_view sql) {
  size_t count = 0;
  for (size_t k = 0; k < sql.size(); ++k) {
    char c = sql[k];
    if (c == '\'' || c == '"' || c == '[') {
      size_t end = sql.find(c == '[' ? ']' : c, k + 1);
      if (end == std::string_view::npos) break;
      k = end;
    } else if (c == '?') {
      ++count;
    }
  }
  return count;
}

class DialectFuzz : public ::testing::Test {
 protected:
  // Checks the outcome of one text on the lexer and both dialects.
  void check(const std::string& text) {
    auto tokens = sql::lex(text);
    if (tokens.ok()) {
      size_t last = 0;
      for (const sql::Token& t : *tokens) {
        ASSERT_GE(t.offset, last) << text;
        ASSERT_LE(t.offset + t.text.size(), text.size()) << text;
        ASSERT_FALSE(t.text.empty()) << text;
        last = t.offset + t.text.size();
      }
    } else {
      ASSERT_NE(tokens.error().find(" at line "), std::string::npos) << tokens.error();
    }
    for (const Dialect* d : {sqlite_.get(), tsql_.get()}) {
      auto t = d->translate(text, db_.catalog());
      if (t.ok()) {
        ASSERT_EQ(count_placeholders(t->sql), t->params.size()) << text << "\n" << t->sql;
        for (const Parameter& p : t->params) ASSERT_FALSE(p.name.empty()) << text;
        ++translated_;
      } else {
        ASSERT_TRUE(t.error() == "empty statement" || t.error().find(" at line ") != std::string::npos) << text << "\n"
                                                                                                        << t.error();
        ++refused_;
      }
    }
  }

  FixtureDb db_;
  std::unique_ptr<Dialect> sqlite_ = make_sqlite_dialect();
  std::unique_ptr<Dialect> tsql_ = make_tsql_dialect();
  size_t translated_ = 0, refused_ = 0;
};

TEST_F(DialectFuzz, EveryTruncationOfEveryStatement) {
  for (const auto& s : module_statements()) {
    const std::string text(s.sql);
    const size_t step = text.size() > 400 ? 7 : 1;
    for (size_t len = 0; len <= text.size(); len += step) {
      check(text.substr(0, len));
      if (HasFatalFailure()) return;
    }
  }
  // Both outcomes occur: prefixes that end inside a string or a group are refused.
  EXPECT_GT(translated_, 0u);
  EXPECT_GT(refused_, 0u);
}

TEST_F(DialectFuzz, MutatedStatements) {
  std::mt19937 random(20261208);
  const std::string alphabet =
      "'\"[]():,;.=<>!+-*/%@#?`{}\\ \n\tselectfromwhereintotopconvertupdatesetdelete0123456789_"
      "\x80\xe7\xbb\x93";
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
  for (int round = 0; round < 3000; ++round) {
    std::string text(module_statements()[pick(module_statements().size())].sql);
    const int edits = 1 + static_cast<int>(pick(4));
    for (int e = 0; e < edits && !text.empty(); ++e) {
      size_t at = pick(text.size());
      switch (pick(4)) {
        case 0:  // delete a run
          text.erase(at, 1 + pick(12));
          break;
        case 1:  // insert characters
          for (size_t k = 1 + pick(3); k > 0; --k)
            text.insert(text.begin() + static_cast<long>(at), alphabet[pick(alphabet.size())]);
          break;
        case 2:  // duplicate a run
          text.insert(at, text.substr(at, 1 + pick(20)));
          break;
        default:  // replace one character
          text[at] = alphabet[pick(alphabet.size())];
          break;
      }
    }
    check(text);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(translated_, 0u);
  EXPECT_GT(refused_, 0u);
}

TEST_F(DialectFuzz, RandomBytesAndTokenSoup) {
  std::mt19937 random(7);
  const char* words[] = {"select",
                         "top",
                         "1",
                         "into",
                         ":a",
                         "from",
                         "svcb20c",
                         "where",
                         "djsrq",
                         "=",
                         "''",
                         "'1900/01/01'",
                         "(",
                         ")",
                         ",",
                         "union",
                         "all",
                         "update",
                         "set",
                         "delete",
                         "insert",
                         "values",
                         "convert",
                         "char",
                         "111",
                         "isnull",
                         "kq_club..club01c",
                         "dbo.f_retu_gsh",
                         "crmc04.ngs",
                         "join",
                         "on",
                         "as",
                         "a",
                         "in",
                         "not",
                         "like",
                         "order",
                         "by",
                         "round",
                         "case",
                         "when",
                         "then",
                         "else",
                         "end",
                         "selectblob",
                         "updateblob",
                         "commit",
                         "using",
                         ";"};
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    if (round % 2 == 0) {
      for (size_t n = std::uniform_int_distribution<size_t>(0, 40)(random); n > 0; --n)
        text += static_cast<char>(std::uniform_int_distribution<int>(1, 255)(random));
    } else {
      for (size_t n = std::uniform_int_distribution<size_t>(1, 30)(random); n > 0; --n) {
        text += words[std::uniform_int_distribution<size_t>(0, std::size(words) - 1)(random)];
        text += ' ';
      }
    }
    check(text);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(refused_, 0u);
}

}  // namespace
}  // namespace kq::db
