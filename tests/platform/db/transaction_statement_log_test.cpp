// The statement log of a Transaction: every statement as given, with the
// names of its host variables, failed ones too; nothing without a log.
#include <gtest/gtest.h>

#include "txn_test_support.h"

namespace kq::db {
namespace {

using Way = LoggedStatement::Way;
using Names = std::vector<std::string>;

class TransactionStatementLog : public testing::TxnTest {};

TEST_F(TransactionStatementLog, RecordsEachStatementAsGivenUntilTurnedOff) {
  StatementLog log;
  sqlca.exec("insert into svcb20c (cwtsbh, cgsh) values ('W0', '01')");  // before the log: not recorded
  sqlca.set_statement_log(&log);
  Str zt;
  sqlca.exec("insert into svcb20c (cwtsbh, cgsh) values (:w, :gs_gsh)", {{"w", "W1"}, {"gs_gsh", "01"}});
  sqlca.exec("select cwxzt into :zt from svcb20c where cwtsbh = :w", {{"w", "W1"}, {"zt", out(zt)}});
  sqlca.exec("select nosuchcolumn into :zt from svcb20c", {{"zt", out(zt)}});
  ASSERT_EQ(sqlca.sqlcode, -1);
  auto cursor = sqlca.open_cursor("select cwtsbh from svcb20c where cgsh = :ls_gsh", {{"ls_gsh", "01"}});
  ASSERT_TRUE(cursor) << cursor.error();
  sqlca.commit();
  sqlca.rollback();
  sqlca.set_statement_log(nullptr);
  sqlca.exec("select cwxzt into :zt from svcb20c where cwtsbh = 'W1'", {{"zt", out(zt)}});

  const auto& s = log.statements();
  ASSERT_EQ(s.size(), 6u);
  EXPECT_EQ(s[0].sql, "insert into svcb20c (cwtsbh, cgsh) values (:w, :gs_gsh)");
  EXPECT_EQ(s[0].way, Way::Exec);
  EXPECT_EQ(s[0].inputs, (Names{"w", "gs_gsh"}));
  EXPECT_EQ(s[0].outputs, Names{});
  EXPECT_EQ(s[1].inputs, Names{"w"});
  EXPECT_EQ(s[1].outputs, Names{"zt"});
  EXPECT_EQ(s[2].sql, "select nosuchcolumn into :zt from svcb20c") << "a failed statement is recorded too";
  EXPECT_EQ(s[3].way, Way::Cursor);
  EXPECT_EQ(s[3].inputs, Names{"ls_gsh"});
  EXPECT_EQ(s[4].sql, "commit");
  EXPECT_EQ(s[4].way, Way::Commit);
  EXPECT_EQ(s[5].sql, "rollback");
  EXPECT_EQ(s[5].way, Way::Rollback);
  // The log changes nothing of what the statements do: both rows were committed.
  EXPECT_EQ(testing::query_file(files.shop(), "select count(*) from svcb20c"), "2");
}

}  // namespace
}  // namespace kq::db
