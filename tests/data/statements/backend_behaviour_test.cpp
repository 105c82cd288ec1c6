// The Transaction behaves the same on the embedded default and on
// PostgreSQL, on the demo shop: error texts and sqlcodes, a failing statement
// that undoes only itself, f_retu_gsh() following the company, identities,
// locks held by another workstation. And what only the server has: text
// compared without trailing blanks, a lost connection reported as such.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/db/pg_backend.h"
#include "platform/db/transaction.h"
#include "support/server_demo_shop.h"

namespace kq {
namespace {

using db::out;

kq::testing::DemoOnBothBackends& demo_shop() {
  static auto* demo = new kq::testing::DemoOnBothBackends("2026/12/08");
  return *demo;
}

// One step's outcome, printed as "step: sqlcode text".
std::string outcome(const std::string& step, const db::Transaction& t, const std::string& value = "") {
  return step + ": " + std::to_string(t.sqlcode) + " " + t.sqlerrtext + (value.empty() ? "" : " = " + value);
}

// The same unit of work on one backend; each step's outcome.
std::vector<std::string> unit_with_failures(const db::ConnectOptions& options) {
  std::vector<std::string> seen;
  db::Transaction t;
  auto c = t.connect(options);
  if (!c) return {"connect: " + c.error()};
  Str first, company, after;
  Long id, last;
  t.exec("select min(cwtsbh) into :v from svcb20c where cgsh = '01'", {{"v", out(first)}});
  seen.push_back(outcome("first", t));
  t.exec("update svcb20c set cdbr = 'X1' where cwtsbh = :a and cgsh = '01'", {{"a", first}});
  seen.push_back(outcome("update", t));
  t.exec("insert into svcb20c (cwtsbh, cgsh) values (:a, '01')", {{"a", first}});
  seen.push_back(outcome("duplicate key", t));
  t.exec("insert into svcb20c (cwtsbh, cgsh) values ('X', :b)", {{"b", Value::null(Type::String)}});
  seen.push_back(outcome("missing value", t));
  t.exec("select cwtsbh into :v from svcb20c where cgsh = '01'", {{"v", out(after)}});
  seen.push_back(outcome("two rows", t));
  t.exec("update svcb20c set cdbr = 'X2' where cwtsbh = 'NO-SUCH' and cgsh = '01'");
  seen.push_back(outcome("no row", t));
  t.exec("insert into kq_operation_log (drq, cczydm, cnr, cgsh) values ('2026/12/08', '001', 'x', '01')");
  seen.push_back(outcome("log", t));
  t.exec("select scope_identity() into :id", {{"id", out(id)}});
  t.exec("select max(id) into :m from kq_operation_log", {{"m", out(last)}});
  seen.push_back(outcome("identity", t, id == last ? "the inserted row" : "another row"));
  seen.push_back(outcome("commit", t) + (t.commit() == 0 ? " committed" : " " + t.sqlerrtext));
  t.exec("select cdbr into :v from svcb20c where cwtsbh = :a and cgsh = '01'", {{"v", out(after)}, {"a", first}});
  seen.push_back(outcome("kept", t, after.value_or("<null>")));
  t.exec("select dbo.f_retu_gsh() into :v from kq_company where cgsh = '01'", {{"v", out(company)}});
  seen.push_back(outcome("company", t, company.value_or("<null>")));
  t.set_company("02");
  t.exec("update svcb20c set cdbr = 'X3' where 1 = 0");
  t.rollback();
  t.exec("select dbo.f_retu_gsh() into :v from kq_company where cgsh = '01'", {{"v", out(company)}});
  seen.push_back(outcome("company after rollback", t, company.value_or("<null>")));
  return seen;
}

TEST(TransactionOnBothBackends, AUnitWithFailuresReadsTheSameOnTheServer) {
  KQ_NEED_SERVER();
  std::vector<std::string> lite = unit_with_failures(demo_shop().sqlite_options());
  std::vector<std::string> server = unit_with_failures(demo_shop().server_options());
  EXPECT_EQ(server, lite);
  // The outcomes the windows rely on, on both.
  ASSERT_EQ(lite.size(), 12u);
  EXPECT_EQ(lite[2], "duplicate key: -1 UNIQUE constraint failed: svcb20c.cwtsbh, svcb20c.cgsh");
  EXPECT_EQ(lite[3], "missing value: -1 NOT NULL constraint failed: svcb20c.cgsh");
  EXPECT_EQ(lite[5], "no row: 100 ");
  EXPECT_EQ(lite[7], "identity: 0  = the inserted row");
  EXPECT_EQ(lite[9], "kept: 0  = X1");
  EXPECT_EQ(lite[11], "company after rollback: 0  = 02");
}

// Transact-SQL that the dialects rewrite, run in one unit and rolled back;
// each step's outcome.
std::vector<std::string> dialect_constructs(const db::ConnectOptions& options) {
  std::vector<std::string> seen;
  db::Transaction t;
  if (!t.connect(options)) return {"no connection"};
  Str first;
  t.exec("select min(cwtsbh) into :v from svcb20c where cgsh = '01' and cwxzt = '1'", {{"v", out(first)}});
  auto value = [&](const std::string& step, const std::string& sql) {
    Str v;
    t.exec(sql, {{"v", out(v)}, {"a", first}});
    seen.push_back(outcome(step, t, v.value_or("<null>")));
  };
  auto run = [&](const std::string& step, const std::string& sql) {
    t.exec(sql, {{"a", first}});
    seen.push_back(outcome(step, t) + " rows " + std::to_string(t.sqlnrows));
  };
  value("top", "select top 1 cwtsbh into :v from svcb20c where cgsh = '01' order by cwtsbh desc");
  value("date 111", "select convert(char(10), djsrq, 111) into :v from svcb20c where cwtsbh = :a");
  value("date 111 compared", "select count(*) into :v from svcb20c where convert(char(10), djsrq, 111) <= '2026/12/08'");
  value("isnull", "select isnull(max(chth), 'none') into :v from svcb20c where cgsh = 'ZZ'");
  value("isnull on a column", "select isnull(chykh, 'none') into :v from svcb20c where cwtsbh = :a");
  value("case-blind key", "select count(*) into :v from sysi90 where cssxt = 'svc' and cgsh = '01'");
  value("case-blind key upper", "select count(*) into :v from sysi90 where cssxt = 'SVC' and cgsh = '01'");
  run("empty date stored", "update svcb20c set dfprq = '' where cwtsbh = :a");
  value("empty date read", "select convert(char(10), dfprq, 111) into :v from svcb20c where cwtsbh = :a");
  run("slash date stored", "update svcb20c set dfprq = '2026/12/01 10:30' where cwtsbh = :a");
  value("slash date read", "select dfprq into :v from svcb20c where cwtsbh = :a");
  run("update from", "update svcb20c set cdbr = k.clxr from crmc01 k, svcb20c where k.ckhdm = svcb20c.ckhdm and "
                     "k.cgsh = svcb20c.cgsh and svcb20c.cwtsbh = :a");
  value("updated from", "select cdbr into :v from svcb20c where cwtsbh = :a");
  run("delete without from", "delete svcb22c where cwtsbh = :a");
  run("club delete", "delete kq_club..club07 where cdyywdh = :a");
  value("club counted", "select count(*) into :v from kq_club..club07 where cdyywdh = :a");
  t.rollback();
  value("club after rollback", "select count(*) into :v from kq_club..club07 where cdyywdh = :a");
  value("date after rollback", "select convert(char(10), dfprq, 111) into :v from svcb20c where cwtsbh = :a");
  return seen;
}

TEST(TransactionOnBothBackends, RewrittenTransactSqlAnswersTheSameOnTheServer) {
  KQ_NEED_SERVER();
  std::vector<std::string> lite = dialect_constructs(demo_shop().sqlite_options());
  EXPECT_EQ(dialect_constructs(demo_shop().server_options()), lite);
  ASSERT_EQ(lite.size(), 18u);
  EXPECT_EQ(lite[5].substr(lite[5].find('=')), lite[6].substr(lite[6].find('='))) << "a case-blind key";
  EXPECT_EQ(lite[8], "empty date read: 0  = 1900/01/01");
  EXPECT_EQ(lite[10], "slash date read: 0  = 2026/12/01 10:30:00");
}

// A second workstation meets the first one's open unit: after the lock wait
// it fails with "database is locked"; once the first commits it succeeds.
std::vector<std::string> lock_wait(db::ConnectOptions options) {
  options.busy_timeout_ms = 300;
  db::Transaction a, b;
  if (!a.connect(options) || !b.connect(options)) return {"no connection"};
  std::vector<std::string> seen;
  a.exec("update kq_company set cgsmc = cgsmc where cgsh = '01'");
  seen.push_back(outcome("first", a));
  b.exec("update kq_company set cgsmc = cgsmc where cgsh = '01'");
  seen.push_back(outcome("second", b));
  b.rollback();
  a.commit();
  b.exec("update kq_company set cgsmc = cgsmc where cgsh = '01'");
  seen.push_back(outcome("second again", b));
  b.commit();
  return seen;
}

TEST(TransactionOnBothBackends, AnotherWorkstationsLockReadsTheSameOnTheServer) {
  KQ_NEED_SERVER();
  std::vector<std::string> lite = lock_wait(demo_shop().sqlite_options());
  EXPECT_EQ(lite, (std::vector<std::string>{"first: 0 ", "second: -1 database is locked", "second again: 0 "}));
  EXPECT_EQ(lock_wait(demo_shop().server_options()), lite);
}

// On the server CHAR columns compare as on a Transact-SQL server (trailing
// blanks ignored), and a connection the server ended says so, not "no row".
TEST(TransactionOnTheServer, TrailingBlanksAreIgnoredAndALostConnectionIsReported) {
  KQ_NEED_SERVER();
  db::Transaction t;
  ASSERT_TRUE(t.connect(demo_shop().server_options()));
  Str first;
  Long n;
  t.exec("select min(cwtsbh) into :v from svcb20c where cgsh = '01'", {{"v", out(first)}});
  ASSERT_EQ(t.sqlcode, 0) << t.sqlerrtext;
  t.exec("select count(*) into :n from svcb20c where cwtsbh = :a and cgsh = '01'",
         {{"n", out(n)}, {"a", *first + "   "}});
  EXPECT_EQ(n, Long(1)) << t.sqlerrtext;
  // Text joined with "+", and len(), as a Transact-SQL server has them (the
  // embedded default's dialect rewrites neither: the module's statements use neither).
  Str joined;
  Long length;
  t.exec("select cwtsbh + '-' + cgsh, len(cwtsbh) into :v, :n from svcb20c where cwtsbh = :a",
         {{"v", out(joined)}, {"n", out(length)}, {"a", first}});
  EXPECT_EQ(joined, Str(*first + "-01")) << t.sqlerrtext;
  EXPECT_EQ(length, Long(static_cast<long>(first->size())));

  PGconn* handle = db::postgresql_handle(*t.connection());
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(kq::testing::run_on_cluster("SELECT pg_terminate_backend(" + std::to_string(PQbackendPID(handle)) + ")"),
            "");
  t.exec("select count(*) into :n from svcb20c", {{"n", out(n)}});
  EXPECT_EQ(t.sqlcode, -1);
  EXPECT_EQ(t.sqlerrtext, "与数据库服务器的连接已断开");
}

}  // namespace
}  // namespace kq
