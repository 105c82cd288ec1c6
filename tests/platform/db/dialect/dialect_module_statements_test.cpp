// Every statement and data window query of the module translates for both
// dialects, and SQLite accepts each SQLite translation on the fixture schema.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>

#include "fixture_db.h"
#include "platform/db/dialect/dialect.h"
#include "platform/db/dialect/sql_lexer.h"
#include "platform/value/text.h"
#include "support/module_statements.h"

namespace kq::db {
namespace {

using kq::testing::ModuleStatement;
using testing::FixtureDb;

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

void translates_for_both_dialects_and_prepares(const ModuleStatement& s, const FixtureDb& db) {
  auto sqlite = make_sqlite_dialect()->translate(s.sql, db.catalog());
  auto tsql = make_tsql_dialect()->translate(s.sql, db.catalog());
  ASSERT_TRUE(sqlite.ok()) << sqlite.error();
  ASSERT_TRUE(tsql.ok()) << tsql.error();
  EXPECT_EQ(sqlite->kind, tsql->kind);
  if (s.kind) EXPECT_EQ(sqlite->kind, *s.kind);

  // Every host variable of the text is either read (INTO) or bound, each
  // placeholder of the text once by the Transact-SQL dialect; SQLite may bind
  // one more than once (the bounds of a day range repeat the day). Both
  // dialects agree on the names and on the column each one meets.
  std::vector<std::string> expected = host_variables(s.sql);
  std::vector<std::string> seen = tsql->into;
  for (const Parameter& p : tsql->params) seen.push_back(p.name);
  std::multiset<std::string> a(expected.begin(), expected.end()), b(seen.begin(), seen.end());
  EXPECT_EQ(a, b);
  EXPECT_EQ(sqlite->into, tsql->into);
  auto bound = [](const Translation& t) {
    std::set<std::string> out;  // "name -> column kind/scale", or "name -> (none)"
    for (const Parameter& p : t.params)
      out.insert(p.name + " -> " +
                 (p.target ? std::to_string(static_cast<int>(p.target->kind)) + "/" + std::to_string(p.target->scale)
                           : std::string("(none)")));
    return out;
  };
  EXPECT_EQ(bound(*sqlite), bound(*tsql));
  EXPECT_EQ(count_placeholders(tsql->sql), tsql->params.size()) << tsql->sql;

  // A recorded statement was given what its translation reads and binds: the
  // INTO variables as out(), the others as values or out().
  if (s.source == ModuleStatement::Source::Recorded) {
    EXPECT_EQ(std::set<std::string>(sqlite->into.begin(), sqlite->into.end()), s.outputs);
    for (const Parameter& p : sqlite->params)
      EXPECT_TRUE(s.inputs.count(p.name) || s.outputs.count(p.name)) << ":" << p.name << " was not given";
  }

  int parameters = -1;
  EXPECT_EQ(db.prepare_error(sqlite->sql, &parameters), "") << sqlite->sql;
  EXPECT_EQ(parameters, static_cast<int>(sqlite->params.size())) << sqlite->sql;
}

TEST(DialectModuleStatements, EachTranslatesForBothDialectsAndPreparesOnSqlite) {
  FixtureDb db;
  size_t by_source[3] = {0, 0, 0};
  for (const ModuleStatement& s : kq::testing::module_statements()) {
    SCOPED_TRACE(s.name + "\n" + s.sql);
    ++by_source[static_cast<int>(s.source)];
    translates_for_both_dialects_and_prepares(s, db);
  }
  // Each source gave statements: the definitions, the windows' runs, the table.
  EXPECT_GT(by_source[0], 0u) << "data window queries";
  EXPECT_GT(by_source[1], 0u) << "recorded statements";
  EXPECT_GT(by_source[2], 0u) << "statements still to build";
}

// Each host variable that the windows compare with or store into a column of
// the fixture gets that column as its target, so that the backend stores
// dates as ISO text and decimals at the column's scale.
TEST(DialectModuleStatementsTargets, StoredAndComparedHostVariablesKnowTheirColumns) {
  FixtureDb db;
  size_t with_target = 0, total = 0;
  std::set<std::string> untargeted;
  for (const ModuleStatement& s : kq::testing::module_statements()) {
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
  // subtracted from balances, the parameter's group and code compared in
  // upper case.
  EXPECT_EQ(untargeted,
            (std::set<std::string>{"jsrq", "qsrq", "ls_qsrq", "ls_jzrq", "jzrq", "ls_xtrq", "ls_xchs", "ls_xjhs",
                                   "ldc_gssl", "ldc_clsl", "ldc_dh", "ldc_dj", "ldc_lj", "ldc_hjkxfje", "ls_group",
                                   "ls_code"}));
  EXPECT_GT(with_target, total / 2);
}

}  // namespace
}  // namespace kq::db
