// Every statement and data window query of the module translates for both
// dialects, and SQLite accepts each SQLite translation on the fixture schema.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>

#include "fixture_db.h"
#include "module_statements.h"
#include "platform/db/dialect/dialect.h"
#include "platform/db/dialect/sql_lexer.h"
#include "platform/value/text.h"

namespace kq::db {
namespace testing {
void PrintTo(const ModuleStatement& s, std::ostream* os) { *os << s.name; }
}  // namespace testing
namespace {

using testing::FixtureDb;
using testing::kModuleStatements;
using testing::ModuleStatement;

// Placeholders "?" outside string literals and quoted names.
size_t count_placeholders(std::string_view sql) {
  size_t count = 0;
  for (size_t k = 0; k < sql.size(); ++k) {
    char c = sql[k];
    if (c == '\'' || c == '"' || c == '[') {
      char close = c == '[' ? ']' : c;
      size_t end = sql.find(close, k + 1);
      if (end == std::string_view::npos) break;
      k = end;
    } else if (c == '?') {
      ++count;
    }
  }
  return count;
}

// The host variables written in the Transact-SQL text, lower case, in order.
std::vector<std::string> host_variables(std::string_view tsql) {
  std::vector<std::string> out;
  auto tokens = sql::lex(tsql);
  EXPECT_TRUE(tokens.ok());
  if (tokens.ok())
    for (const sql::Token& t : *tokens)
      if (t.kind == sql::TokenKind::HostVar) out.push_back(text::lower(t.text.substr(1)));
  return out;
}

class DialectModuleStatements : public ::testing::TestWithParam<ModuleStatement> {
 protected:
  FixtureDb db_;
};

TEST_P(DialectModuleStatements, TranslateForBothDialectsAndPrepareOnSqlite) {
  const ModuleStatement& s = GetParam();
  auto sqlite = make_sqlite_dialect()->translate(s.sql, db_.catalog());
  auto tsql = make_tsql_dialect()->translate(s.sql, db_.catalog());
  ASSERT_TRUE(sqlite.ok()) << sqlite.error();
  ASSERT_TRUE(tsql.ok()) << tsql.error();
  EXPECT_EQ(sqlite->kind, s.kind);
  EXPECT_EQ(tsql->kind, s.kind);

  // Every host variable of the text is either read (INTO) or bound, and both
  // dialects agree on the names and their columns.
  std::vector<std::string> expected = host_variables(s.sql);
  std::vector<std::string> seen = sqlite->into;
  for (const Parameter& p : sqlite->params) seen.push_back(p.name);
  std::multiset<std::string> a(expected.begin(), expected.end()), b(seen.begin(), seen.end());
  EXPECT_EQ(a, b);
  EXPECT_EQ(sqlite->into, tsql->into);
  ASSERT_EQ(sqlite->params.size(), tsql->params.size());
  for (size_t k = 0; k < sqlite->params.size(); ++k) {
    EXPECT_EQ(sqlite->params[k].name, tsql->params[k].name);
    EXPECT_EQ(sqlite->params[k].target, tsql->params[k].target) << sqlite->params[k].name;
  }
  EXPECT_EQ(count_placeholders(tsql->sql), tsql->params.size()) << tsql->sql;

  int parameters = -1;
  EXPECT_EQ(db_.prepare_error(sqlite->sql, &parameters), "") << sqlite->sql;
  EXPECT_EQ(parameters, static_cast<int>(sqlite->params.size())) << sqlite->sql;
}

INSTANTIATE_TEST_SUITE_P(All, DialectModuleStatements, ::testing::ValuesIn(kModuleStatements),
                         [](const ::testing::TestParamInfo<ModuleStatement>& info) {
                           std::string name(info.param.name);
                           for (char& c : name)
                             if (c == '.') c = '_';
                           return name;
                         });

// Each host variable that the windows compare with or store into a column of
// the fixture gets that column as its target, so that the backend stores
// dates as ISO text and decimals at the column's scale.
TEST(DialectModuleStatementsTargets, StoredAndComparedHostVariablesKnowTheirColumns) {
  FixtureDb db;
  size_t with_target = 0, total = 0;
  std::set<std::string> untargeted;
  for (const ModuleStatement& s : kModuleStatements) {
    auto t = make_sqlite_dialect()->translate(s.sql, db.catalog());
    ASSERT_TRUE(t.ok()) << s.name;
    for (const Parameter& p : t->params) {
      ++total;
      if (p.target)
        ++with_target;
      else
        untargeted.insert(p.name);
    }
  }
  // The only host variables without a column: dates compared after
  // convert(), the tax switches and rates inside expressions, amounts
  // subtracted from balances.
  EXPECT_EQ(untargeted,
            (std::set<std::string>{"jsrq", "qsrq", "ls_qsrq", "ls_jzrq", "jzrq", "ls_xtrq", "ls_xchs", "ls_xjhs",
                                   "ldc_gssl", "ldc_clsl", "ldc_dh", "ldc_dj", "ldc_lj", "ldc_hjkxfje"}));
  EXPECT_GT(with_target, total / 2);
}

}  // namespace
}  // namespace kq::db
