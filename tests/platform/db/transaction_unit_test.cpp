// The unit of work over the shop and the club tables, isolation from a
// second Transaction, and injected failures.
#include <gtest/gtest.h>

#include "txn_test_support.h"

namespace kq::db {
namespace {

class TransactionUnitOfWork : public testing::TxnTest {
 protected:
  void SetUp() override {
    TxnTest::SetUp();
    must("insert into svcb20c (cwtsbh, cwxzt, cgsh) values ('W1', '1', '01')");
    must("insert into kq_club..club01c (id, ckh, ndhjf, cgsh) values (1, 'K1', 100, '01')");
    must("commit");
  }
  // One uncommitted change in each database.
  void write_both() {
    must("update svcb20c set cwxzt = '0' where cwtsbh = :w", {{"w", "W1"}});
    must("update kq_club..club01c set ndhjf = ndhjf - :p where id = :id", {{"p", Decimal(30)}, {"id", 1}});
  }
  // The committed state of shop and club, read by a connection of its own.
  std::string on_disk() {
    return testing::query_file(files.shop(), "select cwxzt from svcb20c where cwtsbh = 'W1'") + " " +
           testing::query_file(files.shop(), "select ndhjf from kq_club_club01c where id = 1");
  }
  Transaction sqlls;
};

TEST_F(TransactionUnitOfWork, CommitMakesBothDatabasesDurableRollbackUndoesBoth) {
  write_both();
  EXPECT_TRUE(sqlca.in_transaction());
  EXPECT_EQ(on_disk(), "1 100.0");
  EXPECT_EQ(sqlca.rollback(), 0);
  EXPECT_EQ(on_disk(), "1 100.0");
  Dec points;
  must("select ndhjf into :p from kq_club..club01c where id = 1", {{"p", out(points)}});
  EXPECT_EQ(points, Decimal(100));
  write_both();
  EXPECT_EQ(sqlca.commit(), 0);
  EXPECT_FALSE(sqlca.in_transaction());
  sqlca.disconnect();
  EXPECT_EQ(on_disk(), "0 70.0");
}

TEST_F(TransactionUnitOfWork, SecondTransactionSeesCommittedDataOnly) {
  ASSERT_TRUE(sqlls.connect(files.options()).ok());
  write_both();
  Str zt;
  Dec points;
  const char* read_zt = "select cwxzt into :z from svcb20c where cwtsbh = 'W1'";
  const char* read_points = "select ndhjf into :p from kq_club..club01c where id = 1";
  EXPECT_EQ(sqlls.exec(read_zt, {{"z", out(zt)}}), 0);
  EXPECT_EQ(sqlls.exec(read_points, {{"p", out(points)}}), 0);
  EXPECT_EQ(zt, "1");
  EXPECT_EQ(points, Decimal(100));
  must(read_zt, {{"z", out(zt)}});
  EXPECT_EQ(zt, "0") << "the writer sees its own change";
  ASSERT_EQ(sqlca.commit(), 0);
  EXPECT_EQ(sqlls.exec(read_zt, {{"z", out(zt)}}), 0);
  EXPECT_EQ(sqlls.exec(read_points, {{"p", out(points)}}), 0);
  EXPECT_EQ(zt, "0");
  EXPECT_EQ(points, Decimal(70));
}

TEST_F(TransactionUnitOfWork, ReadingHoldsNoLockAndWritersWaitForTheTimeout) {
  ASSERT_TRUE(sqlls.connect(files.options()).ok());
  Str zt;
  must("select cwxzt into :z from svcb20c where cwtsbh = 'W1'", {{"z", out(zt)}});
  EXPECT_FALSE(sqlca.in_transaction()) << "a SELECT opens no unit of work";
  ASSERT_EQ(sqlls.exec("update svcb20c set cwxzt = '2' where cwtsbh = 'W1'"), 0) << sqlls.sqlerrtext;
  EXPECT_EQ(sqlca.exec("update svcb20c set cwxzt = '0' where cwtsbh = 'W1'"), -1);
  EXPECT_NE(sqlca.sqlerrtext.find("locked"), std::string::npos) << sqlca.sqlerrtext;
  EXPECT_FALSE(sqlca.in_transaction());
  ASSERT_EQ(sqlls.commit(), 0);
  must("select cwxzt into :z from svcb20c where cwtsbh = 'W1'", {{"z", out(zt)}});
  EXPECT_EQ(zt, "2");
  EXPECT_EQ(sqlca.exec("update svcb20c set cwxzt = '0' where cwtsbh = 'W1'"), 0);
}

TEST_F(TransactionUnitOfWork, FailedStatementKeepsTheUnitOpen) {
  must("update svcb20c set cwxzt = '0' where cwtsbh = 'W1'");
  EXPECT_EQ(sqlca.exec("insert into svcb20c (cwtsbh, cgsh) values ('W1', '01')"), -1);  // duplicate key
  EXPECT_TRUE(sqlca.in_transaction());
  EXPECT_EQ(sqlca.commit(), 0);
  EXPECT_EQ(on_disk(), "0 100.0");
  // The engine ends the unit behind the Transaction's back (as SQLite does
  // after some I/O errors): later writes and commit are refused until rollback.
  write_both();
  ASSERT_TRUE(sqlca.connection()->rollback().ok());
  EXPECT_EQ(sqlca.exec("update kq_club..club01c set ndhjf = 0 where id = 1"), -1);
  EXPECT_EQ(sqlca.commit(), -1);
  EXPECT_EQ(on_disk(), "0 100.0");
  EXPECT_EQ(sqlca.rollback(), 0);
  must("update kq_club..club01c set ndhjf = 0 where id = 1");
  EXPECT_EQ(sqlca.commit(), 0);
  EXPECT_EQ(on_disk(), "0 0.0");
}

TEST_F(TransactionUnitOfWork, DisconnectRollsBack) {
  write_both();
  sqlca.disconnect();
  EXPECT_EQ(on_disk(), "1 100.0");
}

class TransactionFaults : public TransactionUnitOfWork {};

TEST_F(TransactionFaults, NthAndMatchingStatementsFailWithoutRunning) {
  const int64_t before = sqlca.statement_count();
  sqlca.faults().fail_nth(2, "injected");
  sqlca.faults().fail_matching("KQ_CLUB..CLUB01C SET NKNYE", "club down");
  must("update svcb20c set cwxzt = '0' where cwtsbh = 'W1'");
  EXPECT_EQ(sqlca.exec("update kq_club..club01c set ndhjf = 1 where id = 1"), -1);
  EXPECT_EQ(sqlca.sqlerrtext, "injected");
  must("update kq_club..club01c set ndhjf = 2 where id = 1");
  EXPECT_EQ(sqlca.exec("update kq_club..club01c set nknye = 5 where id = 1"), -1);
  EXPECT_EQ(sqlca.sqlerrtext, "club down");
  EXPECT_EQ(sqlca.statement_count(), before + 4);
  EXPECT_FALSE(sqlca.faults().pending()) << "each fault fires once";
  must("commit");
  EXPECT_EQ(testing::query_file(files.shop(), "select ndhjf || '/' || nknye from kq_club_club01c"), "2.0/0.0");
  // commit() and cursors can be failed as well.
  write_both();
  sqlca.faults().fail_matching("commit", "disk full");
  EXPECT_EQ(sqlca.commit(), -1);
  EXPECT_TRUE(sqlca.in_transaction()) << "the commit did not run";
  EXPECT_EQ(sqlca.rollback(), 0);
  sqlca.faults().fail_nth(1, "no retrieve");
  auto cur = sqlca.open_cursor("select cwtsbh from svcb20c");
  EXPECT_FALSE(cur.ok());
  EXPECT_EQ(sqlca.sqlerrtext, "no retrieve");
}

TEST_F(TransactionFaults, EveryStepOfAUnitCanFailAndLeavesTheDataAsBefore) {
  // Count the statements of a unit of work, then fail each in turn and roll back.
  auto unit = [&]() -> bool {
    if (sqlca.exec("update svcb20c set cwxzt = '0' where cwtsbh = :w", {{"w", "W1"}}) != 0) return false;
    if (sqlca.exec("delete from sysb13 where cdydjh = :w", {{"w", "W1"}}) == -1) return false;
    if (sqlca.exec("update kq_club..club01c set ndhjf = ndhjf - 30 where id = 1") != 0) return false;
    return sqlca.commit() == 0;
  };
  const int64_t start = sqlca.statement_count();
  ASSERT_TRUE(unit());
  const int64_t steps = sqlca.statement_count() - start;
  EXPECT_EQ(steps, 4);
  must("update svcb20c set cwxzt = '1' where cwtsbh = 'W1'");
  must("update kq_club..club01c set ndhjf = 100 where id = 1");
  must("commit");
  for (int64_t n = 1; n <= steps; ++n) {
    sqlca.faults().fail_nth(n, "step " + std::to_string(n));
    EXPECT_FALSE(unit()) << n;
    EXPECT_EQ(sqlca.sqlerrtext, "step " + std::to_string(n));
    EXPECT_EQ(sqlca.rollback(), 0);
    EXPECT_EQ(on_disk(), "1 100.0") << n;
  }
}

}  // namespace
}  // namespace kq::db
