// Current row, selection, insert and delete, filter and sort of a data window
// whose rows are set by the test (no database).
#include <gtest/gtest.h>

#include "platform/dw/datawindow/datawindow.h"
#include "test_database.h"

namespace kq::dw {
namespace {

using testing::add_rows;
using testing::InlineDefinitions;
using testing::kOrdersGrid;

Value dt(const char* text) { return Value(*DateTime::parse(text)); }
Value dec(const char* text) { return Value(*Decimal::parse(text)); }

class DataWindowRows : public ::testing::Test {
 protected:
  void SetUp() override {
    defs.add("d_orders", kOrdersGrid);
    ASSERT_EQ(dw.dataobject("d_orders"), 1) << dw.last_error();
  }
  void fill() {
    add_rows(dw, {
                     {"W03", "0", 0, dec("100"), dt("2026/12/02 10:00"), ""},
                     {"W01", "1", 0, dec("250.5"), dt("2026/12/03 09:00"), "*"},
                     {"W02", "2", 1, dec("80"), dt("2026/12/03 09:00"), ""},
                     {"W04", "0", 0, Value::null(Type::Decimal), Value::null(Type::DateTime), "*"},
                 });
  }
  std::string order() const {
    std::string s;
    for (long r = 1; r <= dw.rowcount(); ++r) s += (s.empty() ? "" : " ") + dw.getitemstring(r, "cwtsbh").value_or("?");
    return s;
  }
  InlineDefinitions defs;
  DataWindow dw{nullptr, defs.lookup()};
};

TEST_F(DataWindowRows, AnEmptyDataWindowHasNoCurrentRowAndReadsNulls) {
  EXPECT_EQ(dw.rowcount(), 0);
  EXPECT_EQ(dw.getrow(), 0);
  EXPECT_FALSE(dw.getitemstring(1, "cwtsbh"));
  EXPECT_FALSE(dw.getitemstring(0, "cwtsbh"));
  EXPECT_EQ(dw.setrow(1), -1);
  EXPECT_EQ(dw.scrolltorow(1), -1);
  EXPECT_EQ(dw.deleterow(0), -1);
  EXPECT_EQ(dw.selectrow(1, true), -1);
  EXPECT_EQ(dw.selectrow(0, true), 1);
  EXPECT_EQ(dw.setitem(1, "cwtsbh", "x"), -1);
}

TEST_F(DataWindowRows, ItemsOutsideTheRowsOrColumnsReadAsNull) {
  fill();
  EXPECT_EQ(*dw.getitemstring(1, "CWTSBH"), "W03");
  EXPECT_EQ(*dw.getitemstring(1, 1), "W03");
  EXPECT_FALSE(dw.getitemstring(5, "cwtsbh"));
  EXPECT_FALSE(dw.getitemstring(-1, "cwtsbh"));
  EXPECT_FALSE(dw.getitemstring(1, "nope"));
  EXPECT_FALSE(dw.getitemstring(1, 7));
  EXPECT_FALSE(dw.getitemdecimal(4, "nhjje"));  // a stored null
  EXPECT_EQ(*dw.getitemnumber(2, "nhjje"), *Decimal::parse("250.50"));
  EXPECT_EQ(*dw.getitemnumber(3, "lqqbs"), Decimal(1));
  EXPECT_EQ(dw.getitemdatetime(2, "djsrq")->to_string(), "2026/12/03 09:00:00");
  EXPECT_EQ(dw.setitem(1, "nope", "x"), -1);
  EXPECT_EQ(dw.setitem(1, "nhjje", "twelve"), -1);
  EXPECT_EQ(dw.setitem(1, "nhjje", "12.5"), 1);
  EXPECT_EQ(*dw.getitemdecimal(1, "nhjje"), *Decimal::parse("12.5"));
}

TEST_F(DataWindowRows, CurrentRowAndScrolling) {
  fill();
  EXPECT_EQ(dw.getrow(), 1);
  EXPECT_EQ(dw.setrow(3), 1);
  EXPECT_EQ(dw.getrow(), 3);
  EXPECT_EQ(dw.setrow(5), -1);
  EXPECT_EQ(dw.setrow(0), -1);
  EXPECT_EQ(dw.getrow(), 3);
  EXPECT_EQ(dw.scrolltorow(99), 1);
  EXPECT_EQ(dw.getrow(), 4);
  EXPECT_EQ(dw.scrolltorow(0), -1);
}

TEST_F(DataWindowRows, SelectionOfOneRowOrAll) {
  fill();
  EXPECT_EQ(dw.selectrow(2, true), 1);
  EXPECT_TRUE(dw.isselected(2));
  EXPECT_FALSE(dw.isselected(1));
  EXPECT_FALSE(dw.isselected(9));
  EXPECT_EQ(dw.getselectedrow(0), 2);
  EXPECT_EQ(dw.getselectedrow(2), 0);
  dw.selectrow(0, true);
  EXPECT_EQ(dw.getselectedrow(2), 3);
  dw.selectrow(0, false);
  EXPECT_EQ(dw.getselectedrow(0), 0);
}

TEST_F(DataWindowRows, InsertPlacesANewRowAndKeepsTheCurrentOne) {
  fill();
  dw.setrow(2);
  EXPECT_EQ(dw.insertrow(1), 1);
  EXPECT_EQ(dw.rowcount(), 5);
  EXPECT_EQ(dw.getrow(), 3);  // still W01
  EXPECT_EQ(*dw.getitemstring(3, "cwtsbh"), "W01");
  EXPECT_FALSE(dw.getitemstring(1, "cwtsbh"));
  EXPECT_EQ(dw.insertrow(0), 6);
  EXPECT_EQ(dw.insertrow(7), 7);  // one past the end appends too
  EXPECT_EQ(dw.insertrow(9), -1);
  EXPECT_EQ(dw.insertrow(-1), -1);
}

TEST_F(DataWindowRows, DeleteMovesRowsToTheDeleteBufferAndDropsNewOnes) {
  fill();
  dw.setrow(4);
  EXPECT_EQ(dw.deleterow(0), 1);  // the current row
  EXPECT_EQ(dw.rowcount(), 3);
  EXPECT_EQ(dw.deletedcount(), 1);
  EXPECT_EQ(*dw.getitemstring(1, "cwtsbh", Buffer::Delete), "W04");
  EXPECT_EQ(dw.getrow(), 3);  // the last row is current now
  long fresh = dw.insertrow(0);
  EXPECT_EQ(dw.deleterow(fresh), 1);
  EXPECT_EQ(dw.deletedcount(), 1);  // never saved, so nothing to delete
  EXPECT_EQ(dw.deleterow(1), 1);
  EXPECT_EQ(order(), "W01 W02");
  EXPECT_EQ(dw.deleterow(3), -1);
}

TEST_F(DataWindowRows, FilterMovesRowsBetweenBuffersAndBack) {
  fill();
  dw.setrow(2);  // W01
  ASSERT_EQ(dw.setfilter("cwxzt = '0'"), 1);
  ASSERT_EQ(dw.filter(), 1);
  EXPECT_EQ(order(), "W03 W04");
  EXPECT_EQ(dw.filteredcount(), 2);
  EXPECT_EQ(dw.getrow(), 1);  // the current row was filtered out
  EXPECT_FALSE(dw.getitemstring(3, "cwtsbh"));
  EXPECT_EQ(*dw.getitemstring(1, "cwtsbh", Buffer::Filter), "W01");

  ASSERT_EQ(dw.setfilter("cwxzt <> '0'"), 1);
  dw.filter();
  EXPECT_EQ(order(), "W01 W02");
  // Null never passes: a null amount is neither above nor below.
  dw.setfilter("nhjje > 90 or nhjje <= 90");
  dw.filter();
  EXPECT_EQ(order(), "W01 W02 W03");
  EXPECT_EQ(dw.setfilter("cwxzt = "), -1);
  EXPECT_EQ(dw.filter_text(), "nhjje > 90 or nhjje <= 90");
  dw.setfilter("");
  dw.filter();
  EXPECT_EQ(dw.rowcount(), 4);
  EXPECT_EQ(dw.filteredcount(), 0);
}

TEST_F(DataWindowRows, FilterThatComparesWithAnAggregateOfAllRows) {
  fill();
  // The average is taken over the rows shown before filtering (100, 250.5, 80).
  ASSERT_EQ(dw.setfilter("nhjje > avg(nhjje for all) or rowcount() = 0"), 1) << dw.last_error();
  dw.filter();
  EXPECT_EQ(order(), "W01");
}

TEST_F(DataWindowRows, SortByColumnsAndExpressionsWithNullsFirst) {
  fill();
  ASSERT_EQ(dw.setsort("djsrq D ,cwtsbh A"), 1);
  ASSERT_EQ(dw.sort(), 1);
  EXPECT_EQ(order(), "W01 W02 W03 W04");
  dw.setsort("djsrq a, cwtsbh d");
  dw.sort();
  EXPECT_EQ(order(), "W04 W03 W02 W01");
  dw.setsort("if(cwxzt = '0', 1, 0) A, #1 D");
  dw.sort();
  EXPECT_EQ(order(), "W02 W01 W04 W03");
  EXPECT_EQ(dw.setsort("nope A"), -1);
  EXPECT_EQ(dw.setsort("cwtsbh A,"), -1);
}

TEST_F(DataWindowRows, SortIsStableAndSurvivesFilter) {
  fill();
  dw.setsort("lqqbs A");
  dw.sort();
  EXPECT_EQ(order(), "W03 W01 W04 W02");
  dw.setrow(3);  // W04
  dw.setfilter("bs = '*'");
  dw.filter();
  EXPECT_EQ(order(), "W01 W04");
  EXPECT_EQ(dw.getrow(), 2);  // the current row follows W04
  dw.setfilter("");
  dw.filter();
  EXPECT_EQ(order(), "W03 W01 W04 W02");
}

}  // namespace
}  // namespace kq::dw
