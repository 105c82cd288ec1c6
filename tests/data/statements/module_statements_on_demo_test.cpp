// Every Transact-SQL statement and data window query of the module runs on
// the real schema of each backend (the embedded default and PostgreSQL),
// filled with the demo shop: no statement fails, statements that find nothing
// answer 100 as a Transact-SQL server does, and both backends give the same
// answers: sqlcode, rows, fetched values.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/transaction.h"
#include "platform/value/text.h"
#include "support/module_statements.h"
#include "support/server_demo_shop.h"

namespace kq {
namespace {

using db::ColumnKind;
using kq::testing::ModuleStatement;

// The demo on both backends, built once for the test program.
kq::testing::DemoOnBothBackends& demo_shop() {
  static auto* demo = new kq::testing::DemoOnBothBackends("2026/12/08");
  return *demo;
}

// Parameter: the backend, "sqlite" or "postgresql".
class ModuleStatementsOnDemo : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    if (GetParam() == "postgresql") KQ_NEED_SERVER();
    auto r = sqlca.connect(demo_shop().options(GetParam()));
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
        case ColumnKind::Text: return Value("~");  // fits the narrowest CHAR(1) column the server checks
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

TEST_P(ModuleStatementsOnDemo, EachRunsWithoutErrorAndAnswersAsATransactSqlServer) {
  for (const ModuleStatement& st : kq::testing::module_statements()) {
    SCOPED_TRACE(st.name + "\n" + st.sql);
    runs_without_error_and_answers_as_a_transact_sql_server(st);
    sqlca.rollback();
  }
}

INSTANTIATE_TEST_SUITE_P(Backends, ModuleStatementsOnDemo, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& info) { return info.param; });

// What one statement answered on one backend, as readable text.
struct Answer {
  int sqlcode = 0;
  long long rows = 0;
  std::vector<std::string> values;  // fetched values, or the cursor's rows (sorted: no order asked)
  std::string error;
  friend bool operator==(const Answer& a, const Answer& b) {
    return a.sqlcode == b.sqlcode && a.rows == b.rows && a.values == b.values;
  }
};

void PrintTo(const Answer& a, std::ostream* os) {
  *os << "sqlcode " << a.sqlcode << ", rows " << a.rows;
  if (!a.error.empty()) *os << " (" << a.error << ")";
  for (const auto& v : a.values) *os << "\n  " << v;
}

// The demo's own keys for host variables, so that reads find rows: the first
// settled work order of company 01 and its first repair item.
Value demo_input(const db::Parameter& p, db::Transaction& t) {
  static std::map<std::string, Value> picked;
  auto pick = [&](const char* key, const char* sql) {
    if (!picked.count(key)) {
      Str v;
      t.exec(sql, {{"v", db::out(v)}});
      picked[key] = Value(v.value_or(""));
    }
    return picked[key];
  };
  const std::string& n = p.name;
  if (n == "gs_gsh" || n == "ls_gsh" || n == "as_gsh") return Value("01");
  if (n.find("wtsbh") != std::string::npos || n == "as_bh")
    return pick("wtsbh", "select min(cwtsbh) into :v from svcb20c where cgsh = '01' and cwxzt = '1'");
  if (n.find("wxxmdm") != std::string::npos)
    return pick("wxxmdm", "select min(d.cwxxmdm) into :v from svcb20d d where d.cwtsbh = (select min(cwtsbh) from "
                          "svcb20c where cgsh = '01' and cwxzt = '1')");
  if (p.target && p.target->kind == ColumnKind::DateTime) return Value(*DateTime::parse("2026/12/08"));
  if (n.rfind("ldt_", 0) == 0) return Value(*DateTime::parse("2026/12/08"));
  if (n.find("rq") != std::string::npos) return Value("2026/12/08");
  if (p.target && p.target->kind == ColumnKind::Decimal) return Value(*Decimal::parse("12.5"));
  if (p.target && p.target->kind == ColumnKind::Integer) return Value(1);
  if (n.rfind("ldc_", 0) == 0 || n.rfind("ld_", 0) == 0) return Value(*Decimal::parse("13"));
  if (n.rfind("ll_", 0) == 0 || n.rfind("li_", 0) == 0) return Value(1);
  if (n.rfind("lb_", 0) == 0) return Value(Blob{"archived"});
  return Value("1");
}

Answer answer(db::Transaction& t, const ModuleStatement& st) {
  Answer a;
  auto translated = t.connection()->dialect().translate(st.sql, t.connection()->catalog());
  if (!translated) {
    a.sqlcode = -1;
    a.error = translated.error();
    return a;
  }
  std::vector<Value> outputs(translated->into.size());
  std::vector<db::HostVar> vars;
  for (size_t i = 0; i < translated->into.size(); ++i) vars.emplace_back(translated->into[i], db::out(outputs[i]));
  for (const auto& p : translated->params) {
    bool known = false;
    for (const auto& v : vars) known = known || text::iequals(v.name(), p.name);
    if (!known) vars.emplace_back(p.name, demo_input(p, t));
  }
  if (translated->kind == db::StatementKind::Select && translated->into.empty()) {
    auto cursor = t.open_cursor(st.sql, vars);
    if (!cursor) {
      a.sqlcode = -1;
      a.error = cursor.error();
      return a;
    }
    std::vector<Value> row(static_cast<size_t>(cursor->column_count()));
    while (cursor->next()) {
      cursor->read_row(row);
      std::string line;
      for (const Value& v : row) line += (line.empty() ? "" : " | ") + v.debug_string();
      a.values.push_back(line);
      ++a.rows;
    }
    if (!cursor->ok()) {
      a.sqlcode = -1;
      a.error = cursor->error();
    }
    std::sort(a.values.begin(), a.values.end());
    return a;
  }
  a.sqlcode = t.exec(st.sql, vars);
  a.rows = t.sqlnrows;
  a.error = t.sqlerrtext;
  for (const Value& v : outputs) a.values.push_back(v.debug_string());
  return a;
}

// Each statement, with values that find demo rows, answers on the server as
// on the embedded default.
TEST(ModuleStatementsOnBothBackends, EachAnswersOnTheServerAsOnTheEmbeddedDefault) {
  KQ_NEED_SERVER();
  db::Transaction lite, server;
  ASSERT_TRUE(lite.connect(demo_shop().sqlite_options()));
  ASSERT_TRUE(server.connect(demo_shop().server_options()));
  size_t with_rows = 0;
  for (const ModuleStatement& st : kq::testing::module_statements()) {
    SCOPED_TRACE(st.name + "\n" + st.sql);
    Answer expected = answer(lite, st);
    Answer got = answer(server, st);
    EXPECT_EQ(got, expected);
    if (expected.rows > 0) ++with_rows;
    lite.rollback();
    server.rollback();
  }
  // The comparison is worth something only when statements find rows.
  EXPECT_GT(with_rows, kq::testing::module_statements().size() / 3);
}

}  // namespace
}  // namespace kq
