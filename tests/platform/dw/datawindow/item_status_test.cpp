// Row and item statuses, and the pending edit.
#include <gtest/gtest.h>

#include "platform/dw/datawindow/datawindow.h"
#include "test_database.h"

namespace kq::dw {
namespace {

using testing::add_rows;
using testing::InlineDefinitions;
using testing::kOrdersGrid;

class DataWindowStatus : public ::testing::Test {
 protected:
  void SetUp() override {
    defs.add("d_orders", kOrdersGrid);
    ASSERT_EQ(dw.dataobject("d_orders"), 1);
    add_rows(dw, {{"W01", "1", 0, Value(Decimal(100)), Value::null(Type::DateTime), ""},
                  {"W02", "2", 1, Value(Decimal(80)), Value::null(Type::DateTime), "*"}});
  }
  ItemStatus row_status(long row) const { return dw.getitemstatus(row, 0); }
  InlineDefinitions defs;
  DataWindow dw{nullptr, defs.lookup()};
};

TEST_F(DataWindowStatus, SettingAnItemMarksItAndTheRowAndKeepsTheOriginal) {
  EXPECT_EQ(row_status(1), ItemStatus::NotModified);
  ASSERT_EQ(dw.setitem(1, "cwxzt", "0"), 1);
  EXPECT_EQ(row_status(1), ItemStatus::DataModified);
  EXPECT_EQ(dw.getitemstatus(1, "cwxzt"), ItemStatus::DataModified);
  EXPECT_EQ(dw.getitemstatus(1, "nhjje"), ItemStatus::NotModified);
  EXPECT_EQ(row_status(2), ItemStatus::NotModified);
  dw.setitem(1, "cwxzt", "2");
  EXPECT_EQ(*dw.getitemstring(1, "cwxzt"), "2");
  EXPECT_EQ(*dw.getitemstring(1, "cwxzt", Buffer::Primary, true), "1");  // as retrieved
  EXPECT_EQ(dw.modifiedcount(), 1);
}

TEST_F(DataWindowStatus, AnInsertedRowIsNewUntilSet) {
  long r = dw.insertrow(0);
  EXPECT_EQ(row_status(r), ItemStatus::New);
  EXPECT_EQ(dw.modifiedcount(), 0);
  dw.setitem(r, "cwtsbh", "W09");
  EXPECT_EQ(row_status(r), ItemStatus::NewModified);
  EXPECT_EQ(dw.modifiedcount(), 1);
}

TEST_F(DataWindowStatus, RowStatusChanges) {
  dw.setitem(1, "cwxzt", "0");
  // Not modified: the row counts as saved, with what it holds now.
  ASSERT_EQ(dw.setitemstatus(1, 0, Buffer::Primary, ItemStatus::NotModified), 1);
  EXPECT_EQ(row_status(1), ItemStatus::NotModified);
  EXPECT_EQ(dw.getitemstatus(1, "cwxzt"), ItemStatus::NotModified);
  EXPECT_EQ(*dw.getitemstring(1, "cwxzt", Buffer::Primary, true), "0");
  // Data modified: every item counts as changed.
  dw.setitemstatus(2, 0, Buffer::Primary, ItemStatus::DataModified);
  EXPECT_EQ(row_status(2), ItemStatus::DataModified);
  EXPECT_EQ(dw.getitemstatus(2, "bs"), ItemStatus::DataModified);
  // A new row stays new.
  long r = dw.insertrow(0);
  dw.setitemstatus(r, 0, Buffer::Primary, ItemStatus::DataModified);
  EXPECT_EQ(row_status(r), ItemStatus::NewModified);
  dw.setitemstatus(r, 0, Buffer::Primary, ItemStatus::New);
  EXPECT_EQ(row_status(r), ItemStatus::New);
  dw.setitemstatus(1, 0, Buffer::Primary, ItemStatus::NewModified);
  EXPECT_EQ(row_status(1), ItemStatus::NewModified);
  EXPECT_EQ(dw.setitemstatus(9, 0, Buffer::Primary, ItemStatus::NotModified), -1);
}

TEST_F(DataWindowStatus, ItemStatusChanges) {
  dw.setitem(1, "cwxzt", "0");
  dw.setitem(1, "bs", "*");
  dw.setitemstatus(1, "cwxzt", Buffer::Primary, ItemStatus::NotModified);
  EXPECT_EQ(row_status(1), ItemStatus::DataModified);  // bs is still changed
  dw.setitemstatus(1, "bs", Buffer::Primary, ItemStatus::NotModified);
  EXPECT_EQ(row_status(1), ItemStatus::NotModified);
  ASSERT_EQ(dw.setitemstatus(2, "nhjje", Buffer::Primary, ItemStatus::DataModified), 1);
  EXPECT_EQ(row_status(2), ItemStatus::DataModified);
  EXPECT_EQ(dw.setitemstatus(2, "nhjje", Buffer::Primary, ItemStatus::New), -1);
  EXPECT_EQ(dw.setitemstatus(2, "nope", Buffer::Primary, ItemStatus::DataModified), -1);
}

TEST_F(DataWindowStatus, StatusesOfRowsInTheFilterAndDeleteBuffers) {
  dw.setitem(2, "bs", "");
  dw.setfilter("cwxzt = '1'");
  dw.filter();
  EXPECT_EQ(dw.getitemstatus(1, 0, Buffer::Filter), ItemStatus::DataModified);
  EXPECT_EQ(dw.modifiedcount(), 1);  // filtered rows still count
  dw.deleterow(1);
  EXPECT_EQ(dw.getitemstatus(1, 0, Buffer::Delete), ItemStatus::NotModified);
  EXPECT_EQ(dw.resetupdate(), 1);
  EXPECT_EQ(dw.deletedcount(), 0);
  EXPECT_EQ(dw.getitemstatus(1, 0, Buffer::Filter), ItemStatus::NotModified);
}

TEST_F(DataWindowStatus, AcceptTextStoresAConvertedEdit) {
  EXPECT_EQ(dw.accepttext(), 1);  // nothing pending
  dw.set_pending_edit(2, "nhjje", " 1234.5 ");
  ASSERT_EQ(dw.accepttext(), 1) << dw.last_error();
  EXPECT_EQ(*dw.getitemdecimal(2, "nhjje"), *Decimal::parse("1234.5"));
  EXPECT_EQ(dw.getitemstatus(2, "nhjje"), ItemStatus::DataModified);
  EXPECT_FALSE(dw.pending_edit());
  dw.set_pending_edit(2, "nhjje", "");
  EXPECT_EQ(dw.accepttext(), 1);
  EXPECT_FALSE(dw.getitemdecimal(2, "nhjje"));  // an emptied number is null
}

TEST_F(DataWindowStatus, AcceptTextKeepsAnEditThatIsRejected) {
  dw.set_pending_edit(1, "nhjje", "12x");
  EXPECT_EQ(dw.accepttext(), -1);
  ASSERT_TRUE(dw.pending_edit());
  EXPECT_EQ(*dw.getitemdecimal(1, "nhjje"), Decimal(100));

  std::vector<std::string> seen;
  dw.on_itemchanged([&](long row, std::string_view column, const std::string& data) {
    seen.push_back(std::to_string(row) + ":" + std::string(column) + "=" + data);
    return data == "999" ? 1 : (column == "nhjje" && data == "0" ? 2 : 0);
  });
  dw.set_pending_edit(1, "nhjje", "999");
  EXPECT_EQ(dw.accepttext(), -1);
  EXPECT_TRUE(dw.pending_edit());
  dw.set_pending_edit(1, "nhjje", "0");
  EXPECT_EQ(dw.accepttext(), 1);  // dropped, not stored
  EXPECT_EQ(*dw.getitemdecimal(1, "nhjje"), Decimal(100));
  dw.set_pending_edit(1, "nhjje", "100");
  EXPECT_EQ(dw.accepttext(), 1);  // unchanged: no itemchanged
  dw.set_pending_edit(1, "cwxzt", "0");
  EXPECT_EQ(dw.accepttext(), 1);
  EXPECT_EQ(*dw.getitemstring(1, "cwxzt"), "0");
  EXPECT_EQ(seen, (std::vector<std::string>{"1:nhjje=999", "1:nhjje=0", "1:cwxzt=0"}));
}

}  // namespace
}  // namespace kq::dw
