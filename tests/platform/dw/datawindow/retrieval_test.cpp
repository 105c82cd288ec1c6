#include <gtest/gtest.h>

#include "platform/dw/datawindow/datawindow.h"
#include "test_database.h"

namespace kq::dw {
namespace {

using testing::add_rework;
using testing::InlineDefinitions;
using testing::kReworkGrid;
using testing::TestDatabase;

class DataWindowRetrieval : public ::testing::Test {
 protected:
  void SetUp() override {
    defs.add("d_rework", kReworkGrid);
    add_rework(db, "A-0001", "X01", "换机油", "1.50", "30", "0");
    add_rework(db, "A-0001", "X02", "O'Brien's \"fix\"", "2", "45.5", "5.25");
    add_rework(db, "B-0002", "X01", "换机油", "1", "20", "0");
    ASSERT_EQ(dw.dataobject("d_rework"), 1) << dw.last_error();
    dw.settransobject(db.sqlca);
  }
  TestDatabase db;
  InlineDefinitions defs;
  DataWindow dw{nullptr, defs.lookup()};
};

TEST_F(DataWindowRetrieval, RetrievesRowsMatchingTheArgumentsWithTheirTypes) {
  ASSERT_EQ(dw.retrieve("A-%"), 2) << dw.last_error();
  EXPECT_EQ(dw.rowcount(), 2);
  EXPECT_EQ(dw.getrow(), 1);
  EXPECT_EQ(*dw.getitemstring(1, "cwxxmdm"), "X01");
  EXPECT_EQ(*dw.getitemstring(2, "cxmmc"), "O'Brien's \"fix\"");
  EXPECT_EQ(*dw.getitemdecimal(2, "ngsf"), *Decimal::parse("45.50"));
  EXPECT_EQ(dw.getitemdatetime(1, "dfxrq")->to_string(), "2026/12/01 08:30:00");
  EXPECT_TRUE(dw.getitem(1, "lksbs").is_long());
  EXPECT_EQ(dw.retrieval_arguments().at(0), Value("A-%"));
}

}  // namespace
}  // namespace kq::dw

namespace kq::dw {
namespace {

TEST_F(DataWindowRetrieval, NullsStayNullAndNumbersComeAtTheColumnsScale) {
  db.run("insert into svcb50 (cwtsbh, cwxxmdm, cgsh, cxmmc, ngs, ngsf, nkk, dfxrq, lksbs) "
         "values ('C-1', 'X01', '01', null, null, 10, 0, null, null)");
  defs.add("d_third", R"yaml(name: d_third
style: grid
arguments: [{name: bh, type: string}]
query: "SELECT cwtsbh, ngsf / 3 as third, ngs FROM svcb50 WHERE cwtsbh = :bh"
columns:
  - {name: cwtsbh, type: char(13)}
  - {name: third, type: decimal(2)}
  - {name: ngs, type: decimal(2)}
grid: [{column: cwtsbh}]
)yaml");
  ASSERT_EQ(dw.retrieve("C-1"), 1);
  EXPECT_FALSE(dw.getitemstring(1, "cxmmc"));
  EXPECT_FALSE(dw.getitemdecimal(1, "ngs"));
  EXPECT_FALSE(dw.getitemdatetime(1, "dfxrq"));
  EXPECT_FALSE(dw.getitemnumber(1, "lksbs"));
  EXPECT_EQ(*dw.getitemstring(1, "cwtsbh"), "C-1");

  DataWindow third{nullptr, defs.lookup()};
  ASSERT_EQ(third.dataobject("d_third"), 1) << third.last_error();
  third.settransobject(db.sqlca);
  ASSERT_EQ(third.retrieve("C-1"), 1) << third.last_error();
  EXPECT_EQ(*third.getitemdecimal(1, "third"), *Decimal::parse("3.33"));
  EXPECT_FALSE(third.getitemdecimal(1, "ngs"));
}

TEST_F(DataWindowRetrieval, WrongArgumentsOrNoTransactionGiveMinusOne) {
  EXPECT_EQ(dw.retrieve(), -1);
  EXPECT_NE(dw.last_error().find("takes 1 retrieval argument(s), 0 given"), std::string::npos) << dw.last_error();
  EXPECT_EQ(dw.retrieve("A-%", "B-%"), -1);
  DataWindow loose{nullptr, defs.lookup()};
  loose.dataobject("d_rework");
  EXPECT_EQ(loose.retrieve("A-%"), -1);
  DataWindow none;
  EXPECT_EQ(none.retrieve(), -1);
  EXPECT_EQ(none.dataobject("d_not_there"), -1);
  EXPECT_NE(none.last_error().find("dataobject 'd_not_there' not found"), std::string::npos);
}

TEST_F(DataWindowRetrieval, ADatabaseErrorLeavesItsTextOnTheTransaction) {
  ASSERT_EQ(dw.retrieve("A-%"), 2);
  defs.add("d_broken", "name: d_broken\nstyle: grid\nquery: \"select a from no_such_table\"\n"
                       "columns: [{name: a, type: long}]\ngrid: [{column: a}]\n");
  DataWindow broken{nullptr, defs.lookup()};
  broken.dataobject("d_broken");
  broken.settransobject(db.sqlca);
  EXPECT_EQ(broken.retrieve(), -1);
  EXPECT_EQ(db.sqlca.sqlcode, -1);
  EXPECT_NE(db.sqlca.sqlerrtext.find("no_such_table"), std::string::npos) << db.sqlca.sqlerrtext;
  EXPECT_EQ(broken.last_error(), db.sqlca.sqlerrtext);
  EXPECT_EQ(broken.rowcount(), 0);

  db.sqlca.faults().fail_matching("from svcb50", "connection lost");
  EXPECT_EQ(dw.retrieve("A-%"), -1);
  EXPECT_EQ(db.sqlca.sqlerrtext, "connection lost");
  EXPECT_EQ(dw.rowcount(), 0);
}

TEST_F(DataWindowRetrieval, AQueryWithOtherColumnsThanDeclaredIsRefused) {
  defs.add("d_short", "name: d_short\nstyle: grid\nquery: \"select cwtsbh, cxmmc from svcb50\"\n"
                      "columns: [{name: cwtsbh, type: char(13)}]\ngrid: [{column: cwtsbh}]\n");
  DataWindow shorter{nullptr, defs.lookup()};
  shorter.dataobject("d_short");
  shorter.settransobject(db.sqlca);
  EXPECT_EQ(shorter.retrieve(), -1);
  EXPECT_NE(shorter.last_error().find("the query gives 2 columns, the definition declares 1"), std::string::npos);
  EXPECT_EQ(db.sqlca.sqlcode, -1);
}

TEST_F(DataWindowRetrieval, FilterAndSortInForceApplyToRetrievedRows) {
  dw.setfilter("ngs < 2");
  dw.setsort("cwtsbh D");
  dw.sort();
  ASSERT_EQ(dw.retrieve("%"), 2);
  EXPECT_EQ(dw.filteredcount(), 1);
  EXPECT_EQ(*dw.getitemstring(1, "cwtsbh"), "B-0002");
  EXPECT_EQ(*dw.getitemstring(2, "cwtsbh"), "A-0001");
  EXPECT_EQ(dw.getrow(), 1);
  // A retrieval empties every buffer first.
  dw.deleterow(1);
  ASSERT_EQ(dw.retrieve("B-%"), 1);
  EXPECT_EQ(dw.deletedcount(), 0);
  EXPECT_EQ(dw.filteredcount(), 0);
}

TEST_F(DataWindowRetrieval, ArgumentsAreConvertedToTheirDeclaredType) {
  defs.add("d_by_lksbs", "name: d_by_lksbs\nstyle: grid\narguments: [{name: n, type: long}]\n"
                         "query: \"select cwtsbh from svcb50 where lksbs = :n\"\n"
                         "columns: [{name: cwtsbh, type: char(13)}]\ngrid: [{column: cwtsbh}]\n");
  DataWindow by{nullptr, defs.lookup()};
  by.dataobject("d_by_lksbs");
  by.settransobject(db.sqlca);
  EXPECT_EQ(by.retrieve("0"), 3);
  EXPECT_EQ(by.retrieval_arguments().at(0), Value(0));
  EXPECT_EQ(by.retrieve("zero"), -1);
}

}  // namespace
}  // namespace kq::dw
