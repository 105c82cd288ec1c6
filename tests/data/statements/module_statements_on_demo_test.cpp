// Every Transact-SQL statement and data window query of the module runs on
// the real schema of the embedded default, filled with the demo shop: no
// statement fails, and statements that find nothing answer 100 as a
// Transact-SQL server does.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/demo/demo_shop.h"
#include "platform/db/transaction.h"
#include "platform/value/text.h"
#include "support/module_statements.h"

namespace kq {
namespace {

using db::ColumnKind;
using kq::testing::ModuleStatement;

class ModuleStatementsOnDemo : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::filesystem::temp_directory_path() / ("kq_statements_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    demo::DemoOptions options;
    options.today = *DateTime::parse("2026/12/08");
    options.hash_password = [](std::string_view p) { return "plain:" + std::string(p); };
    auto built = demo::build_demo_files(dir_ / "shop.db", options, true);
    ASSERT_TRUE(built) << built.error();
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(dir_); }

  void SetUp() override {
    db::ConnectOptions o;
    o.database = (dir_ / "shop.db").string();
    o.company = "01";
    auto r = sqlca.connect(o);
    ASSERT_TRUE(r) << r.error();
  }
  void TearDown() override { sqlca.rollback(); }

  // A value for a host variable that matches no demo row, of the kind its
  // column (or else its name) asks for.
  static Value input_for(const db::Parameter& p) {
    if (p.name == "gs_gsh" || p.name == "ls_gsh") return Value("01");
    if (p.target) {
      switch (p.target->kind) {
        case ColumnKind::DateTime: return Value(*DateTime::parse("2001/02/03 04:05:06"));
        case ColumnKind::Decimal: return Value(*Decimal::parse("-987.65"));
        case ColumnKind::Integer: return Value(-987654);
        case ColumnKind::Blob: return Value(Blob{"archived"});
        case ColumnKind::Text: return Value("NO-SUCH");
      }
    }
    const std::string& n = p.name;
    if (n.rfind("ldt_", 0) == 0) return Value(*DateTime::parse("2001/02/03 04:05:06"));
    if (n.rfind("ldc_", 0) == 0 || n.rfind("ld_", 0) == 0) return Value(*Decimal::parse("13"));
    if (n.rfind("ll_", 0) == 0 || n.rfind("li_", 0) == 0 || n.rfind("ii_", 0) == 0) return Value(-987654);
    if (n.rfind("lb_", 0) == 0) return Value(Blob{"archived"});
    return Value("2001/02/03");  // dates compared as text, and any other text
  }

  void runs_without_error_and_answers_as_a_transact_sql_server(const ModuleStatement& st);

  static inline std::filesystem::path dir_;
  db::Transaction sqlca;
};

// Runs `st` on the demo shop with values that match no demo row.
void ModuleStatementsOnDemo::runs_without_error_and_answers_as_a_transact_sql_server(const ModuleStatement& st) {
  auto translated = sqlca.connection()->dialect().translate(st.sql, sqlca.connection()->catalog());
  ASSERT_TRUE(translated) << translated.error();
  std::vector<Value> outputs(translated->into.size());
  std::vector<db::HostVar> vars;
  for (size_t i = 0; i < translated->into.size(); ++i) vars.emplace_back(translated->into[i], db::out(outputs[i]));
  for (const auto& p : translated->params) {
    bool known = false;
    for (const auto& v : vars) known = known || text::iequals(v.name(), p.name);
    if (!known) vars.emplace_back(p.name, input_for(p));
  }

  if (translated->kind == db::StatementKind::Select && translated->into.empty()) {
    // A data window query: it runs to the end.
    auto cursor = sqlca.open_cursor(st.sql, vars);
    ASSERT_TRUE(cursor) << cursor.error();
    while (cursor->next()) {
    }
    EXPECT_TRUE(cursor->ok()) << cursor->error();
    return;
  }
  int code = sqlca.exec(st.sql, vars);
  EXPECT_NE(code, -1) << sqlca.sqlerrtext << "\n" << st.sql;
  // Nothing in the demo matches the values above: reads and writes find no row.
  // (Counts always give a row; an insert writes; COMMIT and ROLLBACK have
  // nothing to find; a statement restricted by the company alone finds its row.)
  bool aggregate = text::lower(st.sql).find("count") != std::string::npos;
  bool no_search = translated->kind == db::StatementKind::Insert || translated->kind == db::StatementKind::Commit ||
                   translated->kind == db::StatementKind::Rollback;
  bool company_only = true;
  for (const auto& p : translated->params) company_only = company_only && (p.name == "gs_gsh" || p.name == "ls_gsh");
  if (!aggregate && !no_search && !company_only) {
    EXPECT_EQ(code, 100) << st.sql;
  }
}

TEST_F(ModuleStatementsOnDemo, EachRunsWithoutErrorAndAnswersAsATransactSqlServer) {
  for (const ModuleStatement& st : kq::testing::module_statements()) {
    SCOPED_TRACE(st.name + "\n" + st.sql);
    runs_without_error_and_answers_as_a_transact_sql_server(st);
    sqlca.rollback();
  }
}

}  // namespace
}  // namespace kq
