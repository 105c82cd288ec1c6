// update(): statements of an updatable definition, run on a real database.
#include <gtest/gtest.h>

#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/datawindow/update_sql.h"
#include "test_database.h"

namespace kq::dw {
namespace {

using testing::add_rework;
using testing::InlineDefinitions;
using testing::kOrdersGrid;
using testing::kReworkGrid;
using testing::TestDatabase;

TEST(DataWindowUpdateSql, StatementsBindEveryValue) {
  auto u = update_sql("svcb50", {{"ngs", Value(Decimal(2))}, {"cxmmc", Value("a'b")}},
                      {{"cwtsbh", Value("W1")}, {"cgsh", Value::null(Type::String)}});
  EXPECT_EQ(u.sql, "UPDATE svcb50 SET ngs = :c1, cxmmc = :c2 WHERE cwtsbh = :k3 AND cgsh IS NULL");
  EXPECT_EQ(u.values.at(1), Value("a'b"));
  ASSERT_EQ(u.host_vars().size(), 3u);
  EXPECT_EQ(u.host_vars()[2].name(), "k3");
  EXPECT_EQ(insert_sql("t", {{"a", Value(1)}, {"b", Value(2)}}).sql, "INSERT INTO t (a, b) VALUES (:c1, :c2)");
  EXPECT_EQ(delete_sql("t", {{"a", Value(1)}}).sql, "DELETE FROM t WHERE a = :k1");
}

class DataWindowUpdate : public ::testing::Test {
 protected:
  void SetUp() override {
    defs.add("d_rework", kReworkGrid);
    add_rework(db, "A-0001", "X01", "换机油", "1.50", "30", "0");
    add_rework(db, "A-0001", "X02", "刹车", "2", "45.5", "5.25");
    ASSERT_EQ(dw.dataobject("d_rework"), 1);
    dw.settransobject(db.sqlca);
    ASSERT_EQ(dw.retrieve("A-%"), 2) << dw.last_error();
  }
  // Rows of svcb50 of company 01 as "code:name:ngs:ngsf", read by a fresh data window.
  std::string stored() {
    DataWindow check{nullptr, defs.lookup()};
    check.dataobject("d_rework");
    check.settransobject(db.sqlca);
    EXPECT_GE(check.retrieve("%"), 0) << check.last_error();
    std::string s;
    for (long r = 1; r <= check.rowcount(); ++r)
      s += (s.empty() ? "" : " | ") + check.getitemstring(r, "cwtsbh").value_or("null") + "/" +
           check.getitemstring(r, "cwxxmdm").value_or("null") + ":" + check.getitemstring(r, "cxmmc").value_or("null") +
           ":" + check.getitemstring(r, "ngs").value_or("null") + ":" + check.getitemstring(r, "ngsf").value_or("null");
    return s;
  }
  TestDatabase db;
  InlineDefinitions defs;
  DataWindow dw{nullptr, defs.lookup()};
};

TEST_F(DataWindowUpdate, WritesOnlyTheChangedColumns) {
  // Another workstation changes the labour fee after our retrieval.
  db::Transaction other;
  db.connect_other(other);
  ASSERT_EQ(other.exec("update svcb50 set ngsf = 99 where cwtsbh = 'A-0001' and cwxxmdm = 'X01'"), 0);
  ASSERT_EQ(other.commit(), 0);
  dw.setitem(1, "ngs", "7.5");
  ASSERT_EQ(dw.update(), 1) << dw.last_error();
  ASSERT_EQ(db.sqlca.commit(), 0);
  EXPECT_EQ(stored(), "A-0001/X01:换机油:7.5:99 | A-0001/X02:刹车:2:45.5");
}

TEST_F(DataWindowUpdate, FindsTheRowByTheKeyAsRetrieved) {
  dw.setitem(1, "cwxxmdm", "X09");
  dw.setitem(1, "cxmmc", "换机滤");
  ASSERT_EQ(dw.update(), 1) << dw.last_error();
  db.sqlca.commit();
  EXPECT_EQ(stored(), "A-0001/X02:刹车:2:45.5 | A-0001/X09:换机滤:1.5:30");
  // After the update the new key is the one to find the row by.
  dw.setitem(2, "ngs", "3");
  ASSERT_EQ(dw.update(), 1) << dw.last_error();
  db.sqlca.commit();
  EXPECT_EQ(stored(), "A-0001/X02:刹车:3:45.5 | A-0001/X09:换机滤:1.5:30");
}

TEST_F(DataWindowUpdate, InsertsNewRowsAndDeletesDeletedOnesWithValuesKeptAsData) {
  const std::string tricky = "x'); delete from svcb50; --";
  long r = dw.insertrow(0);
  dw.setitem(r, "cwtsbh", "A-0002");
  dw.setitem(r, "cwxxmdm", "X03");
  dw.setitem(r, "cxmmc", tricky);
  dw.setitem(r, "ngsf", "12.3");
  dw.insertrow(0);  // never set: not inserted
  dw.deleterow(2);  // X02
  ASSERT_EQ(dw.update(), 1) << dw.last_error();
  db.sqlca.commit();
  EXPECT_EQ(stored(), "A-0001/X01:换机油:1.5:30 | A-0002/X03:" + tricky + ":0:12.3");  // ngs took its default
  EXPECT_EQ(dw.deletedcount(), 0);
  EXPECT_EQ(dw.modifiedcount(), 0);
  EXPECT_EQ(dw.getitemstatus(3, 0), ItemStatus::NotModified);
  // Nothing left to write: no statement runs.
  const int64_t before = db.sqlca.statement_count();
  EXPECT_EQ(dw.update(), 1);
  EXPECT_EQ(db.sqlca.statement_count(), before);
}

TEST_F(DataWindowUpdate, AFailureKeepsTheChangesForTheCallerToRollBackAndRetry) {
  dw.setitem(1, "ngs", "8");
  dw.setitem(2, "ngs", "9");
  db.sqlca.faults().fail_nth(2, "disk full");
  EXPECT_EQ(dw.update(), -1);
  EXPECT_EQ(db.sqlca.sqlcode, -1);
  EXPECT_EQ(db.sqlca.sqlerrtext, "disk full");
  EXPECT_EQ(dw.last_error(), "disk full");
  EXPECT_EQ(dw.getitemstatus(1, 0), ItemStatus::DataModified);
  EXPECT_EQ(dw.getitemstatus(2, "ngs"), ItemStatus::DataModified);
  db.sqlca.rollback();
  EXPECT_EQ(stored(), "A-0001/X01:换机油:1.5:30 | A-0001/X02:刹车:2:45.5");
  ASSERT_EQ(dw.update(), 1) << dw.last_error();
  db.sqlca.commit();
  EXPECT_EQ(stored(), "A-0001/X01:换机油:8:30 | A-0001/X02:刹车:9:45.5");
}

TEST_F(DataWindowUpdate, ARowThatNoLongerMatchesItsKeyFails) {
  db::Transaction other;
  db.connect_other(other);
  ASSERT_EQ(other.exec("delete from svcb50 where cwxxmdm = 'X02'"), 0);
  ASSERT_EQ(other.commit(), 0);
  dw.setitem(2, "ngs", "4");
  EXPECT_EQ(dw.update(), -1);
  EXPECT_EQ(db.sqlca.sqlcode, -1);
  EXPECT_NE(db.sqlca.sqlerrtext.find("Row changed between retrieve and update"), std::string::npos);
  db.sqlca.rollback();
}

TEST_F(DataWindowUpdate, AcceptsThePendingEditFirst) {
  dw.set_pending_edit(1, "ngsf", "31");
  ASSERT_EQ(dw.update(), 1) << dw.last_error();
  db.sqlca.commit();
  EXPECT_EQ(stored(), "A-0001/X01:换机油:1.5:31 | A-0001/X02:刹车:2:45.5");
  dw.set_pending_edit(1, "ngsf", "abc");
  EXPECT_EQ(dw.update(), -1);
}

TEST_F(DataWindowUpdate, ADefinitionWithoutUpdateTableIsNotUpdatable) {
  defs.add("d_orders", kOrdersGrid);
  DataWindow list{nullptr, defs.lookup()};
  list.dataobject("d_orders");
  list.settransobject(db.sqlca);
  list.insertrow(0);
  list.setitem(1, "cwtsbh", "W1");
  EXPECT_EQ(list.update(), -1);
  EXPECT_NE(list.last_error().find("not updatable"), std::string::npos);
}

}  // namespace
}  // namespace kq::dw
