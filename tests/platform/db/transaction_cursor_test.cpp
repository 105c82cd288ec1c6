// Cursors for data window retrieval, and the SQLite catalog.
#include <gtest/gtest.h>

#include <vector>

#include "txn_test_support.h"

namespace kq::db {
namespace {

class TransactionCursor : public testing::TxnTest {
 protected:
  void SetUp() override {
    TxnTest::SetUp();
    for (int i = 1; i <= 3; ++i)
      must("insert into svcb20c (cwtsbh, id, djsrq, nhjje, cgsh) values (:w, :id, :d, :je, :g)",
           {{"w", "W" + std::to_string(i)}, {"id", i}, {"d", *DateTime::from_parts(2024, 1, i, 8, 0, 0)},
            {"je", *Decimal::parse(std::to_string(i) + ".25")}, {"g", i == 3 ? "02" : "01"}});
    must("insert into svcb20c (cwtsbh, cgsh) values ('N1', '01')");  // nhjje NULL
    must("commit");
  }
};

TEST_F(TransactionCursor, IteratesRowsWithTypedValues) {
  auto cur = sqlca.open_cursor(
      "select v.cwtsbh, s.id, v.djsrq, v.nhjje, v.nhjje * 2 as twice from v_svc300_01 v "
      "join svcb20c s on s.cwtsbh = v.cwtsbh and s.cgsh = v.cgsh where v.cgsh = :ls_gsh order by v.cwtsbh",
      {{"ls_gsh", "01"}});
  ASSERT_TRUE(cur.ok()) << cur.error();
  ASSERT_EQ(cur->column_count(), 5);
  EXPECT_EQ(cur->column_name(0), "cwtsbh");
  EXPECT_EQ(cur->column_name(4), "twice");
  EXPECT_EQ(cur->column_info(1), (ColumnInfo{ColumnKind::Integer, 0}));
  EXPECT_EQ(cur->column_info(2), (ColumnInfo{ColumnKind::DateTime, 0})) << "a view column keeps its kind";
  EXPECT_EQ(cur->column_info(3), (ColumnInfo{ColumnKind::Decimal, 2}));
  EXPECT_EQ(cur->column_info(4), std::nullopt) << "an expression has no declared kind";
  std::vector<Value> row(5);
  std::vector<std::vector<Value>> rows;
  while (cur->next()) {
    cur->read_row(row);
    rows.push_back(row);
  }
  EXPECT_TRUE(cur->ok()) << cur->error();
  EXPECT_FALSE(cur->next()) << "stays at the end";
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0][0], Value("N1"));
  EXPECT_TRUE(rows[0][3].is_null());
  EXPECT_EQ(rows[0][3].type(), Type::Decimal) << "a typed null";
  EXPECT_EQ(rows[1], (std::vector<Value>{Value("W1"), Value(1), Value(*DateTime::from_parts(2024, 1, 1, 8, 0, 0)),
                                         Value(*Decimal::parse("1.25")), Value(*Decimal::parse("2.5"))}));
}

TEST_F(TransactionCursor, BadQueriesFailAtOpen) {
  auto missing = sqlca.open_cursor("select cwtsbh from svcb20c where cgsh = :ls_gsh");
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.error().find("ls_gsh"), std::string::npos) << missing.error();
  EXPECT_EQ(sqlca.sqlcode, -1);
  EXPECT_FALSE(sqlca.open_cursor("delete from svcb20c").ok());
  EXPECT_FALSE(sqlca.in_transaction());
  EXPECT_FALSE(sqlca.open_cursor("select nosuch from svcb20c").ok());
}

TEST_F(TransactionCursor, SameQueryOpenTwiceAtOnceAndAgain) {
  const char* q = "select cwtsbh from svcb20c where cgsh = :g order by cwtsbh";
  auto outer = sqlca.open_cursor(q, {{"g", "01"}});
  ASSERT_TRUE(outer.ok());
  std::vector<std::string> pairs;
  while (outer->next()) {
    auto inner = sqlca.open_cursor(q, {{"g", "02"}});
    ASSERT_TRUE(inner.ok()) << inner.error();
    while (inner->next()) pairs.push_back(outer->value(0).str() + "/" + inner->value(0).str());
  }
  EXPECT_EQ(pairs, (std::vector<std::string>{"N1/W3", "W1/W3", "W2/W3"}));
  {
    auto first = sqlca.open_cursor(q, {{"g", "01"}});
    ASSERT_TRUE(first->next());
    ASSERT_TRUE(first->next());
  }  // closed early: the next open starts from the beginning
  auto again = sqlca.open_cursor(q, {{"g", "01"}});
  ASSERT_TRUE(again->next());
  EXPECT_EQ(again->value(0), Value("N1"));
}

TEST_F(TransactionCursor, AnOpenCursorNeverHoldsOffAnotherWritersCommit) {
  auto cur = sqlca.open_cursor("select cwtsbh from svcb20c");
  ASSERT_TRUE(cur->next());
  Transaction sqlls;
  auto options = files.options();
  options.busy_timeout_ms = 50;
  ASSERT_TRUE(sqlls.connect(options).ok());
  ASSERT_EQ(sqlls.exec("insert into svcb20c (cwtsbh, cgsh) values ('W9', '01')"), 0) << sqlls.sqlerrtext;
  // Write-ahead log: the commit goes through with the reader half way (with
  // a rollback journal it waited for the reader and gave up after 50 ms).
  ASSERT_EQ(sqlls.commit(), 0) << sqlls.sqlerrtext;
  int rest = 0;
  while (cur->next()) ++rest;
  EXPECT_EQ(rest, 3) << "the reader goes on with what was committed when it started";
  Long n;
  must("select count(*) into :n from svcb20c", {{"n", out(n)}});
  EXPECT_EQ(n, 5);
  // A cursor left open when the connection closes fails instead of crashing.
  auto open = sqlca.open_cursor("select cwtsbh from svcb20c");
  ASSERT_TRUE(open->next());
  sqlca.disconnect();
  EXPECT_FALSE(open->next());
  EXPECT_FALSE(open->ok());
}

class TransactionCatalog : public testing::TxnTest {};

TEST_F(TransactionCatalog, KindsOfTablesViewsAndClubTables) {
  const Catalog& cat = sqlca.connection()->catalog();
  EXPECT_EQ(cat.column("svcb20c", "cwtsbh"), (ColumnInfo{ColumnKind::Text, 0}));
  EXPECT_EQ(cat.column("svcb20c", "cbz"), (ColumnInfo{ColumnKind::Text, 0}));
  EXPECT_EQ(cat.column("SVCB20C", "ID"), (ColumnInfo{ColumnKind::Integer, 0}));
  EXPECT_EQ(cat.column("svcb20c", "nhjje"), (ColumnInfo{ColumnKind::Decimal, 2}));
  EXPECT_EQ(cat.column("spab02d", "nrcdj"), (ColumnInfo{ColumnKind::Decimal, 6}));
  EXPECT_EQ(cat.column("dbo.svcb20c", "djsrq"), (ColumnInfo{ColumnKind::DateTime, 0}));
  EXPECT_EQ(cat.column("svcb61", "cblob"), (ColumnInfo{ColumnKind::Blob, 0}));
  EXPECT_EQ(cat.column("v_svc300_01", "djsrq"), (ColumnInfo{ColumnKind::DateTime, 0}));
  EXPECT_EQ(cat.column("kq_club..club08", "nbcdhjf"), (ColumnInfo{ColumnKind::Decimal, 2}));
  EXPECT_EQ(cat.column("kq_club.dbo.club08", "nkid"), (ColumnInfo{ColumnKind::Integer, 0}));
  EXPECT_EQ(cat.column("club08", "nkid"), std::nullopt) << "the club's table is not the shop's club08";
  EXPECT_EQ(cat.column("svcb20c", "nosuch"), std::nullopt);
  EXPECT_EQ(cat.column("nosuch", "cwtsbh"), std::nullopt);
  EXPECT_EQ(cat.column("other.svcb20c", "cwtsbh"), std::nullopt);
  // A table created later is seen after clear_cache().
  EXPECT_EQ(cat.column("t_new", "nje"), std::nullopt);
  testing::run_on_file(files.shop(), "CREATE TABLE t_new (nje REAL(18,4))");
  sqlca.clear_cache();
  EXPECT_EQ(cat.column("t_new", "nje"), (ColumnInfo{ColumnKind::Decimal, 4}));
}

}  // namespace
}  // namespace kq::db
