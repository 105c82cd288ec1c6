// The state blob: everything that a data window shows and holds, and back.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/datawindow/state_format.h"
#include "test_database.h"

namespace kq::dw {
namespace {

using testing::add_rework;
using testing::add_rows;
using testing::add_slip_definitions;
using testing::CountingFunctions;
using testing::InlineDefinitions;
using testing::kOrdersGrid;
using testing::rendering;
using testing::TestDatabase;

TEST(DataWindowStateBlob, ARestoredSlipShowsTheSameWithoutTheDatabase) {
  auto db = std::make_unique<TestDatabase>();
  add_rework(*db, "A-0001", "X01", "换机油", "1.5", "30", "0");
  add_rework(*db, "A-0001", "X02", "刹车", "2", "45.5", "0");
  add_rework(*db, "B-0002", "X01", "换机油", "1", "20", "0");
  CountingFunctions fn;
  InlineDefinitions defs(&fn.registry);
  add_slip_definitions(defs);

  DataWindow slip{&fn.registry, defs.lookup()};
  ASSERT_EQ(slip.dataobject("d_slip"), 1);
  slip.settransobject(db->sqlca);
  ASSERT_EQ(slip.retrieve("%"), 2);
  ASSERT_EQ(slip.modify("ngsf_t.text='实收工时费：'"), "");
  slip.setrow(2);
  slip.selectrow(2, true);
  // The blob is taken before anything was shown: nested reports are fetched for it.
  Blob blob = slip.state_blob();
  const std::string shown = rendering(slip);
  EXPECT_NE(shown.find("实收工时费："), std::string::npos);
  EXPECT_NE(shown.find("刹车"), std::string::npos);

  db.reset();  // the database is gone
  const int calls = fn.calls;
  expr::FunctionRegistry none;
  DataWindow restored{&none, defs.lookup()};
  ASSERT_EQ(restored.from_state_blob(blob), 1) << restored.last_error();
  EXPECT_EQ(rendering(restored), shown);
  EXPECT_EQ(fn.calls, calls);  // global functions were replayed, not called
  EXPECT_EQ(restored.getrow(), 2);
  EXPECT_TRUE(restored.isselected(2));
  EXPECT_EQ(restored.retrieval_arguments().at(0), Value("%"));
  // A restored blob gives the same blob again.
  EXPECT_EQ(restored.state_blob().bytes, blob.bytes);
}

class DataWindowStateRows : public ::testing::Test {
 protected:
  void SetUp() override {
    defs.add("d_orders", kOrdersGrid);
    ASSERT_EQ(dw.dataobject("d_orders"), 1);
    add_rows(dw, {{"W01", "1", 0, Value(Decimal(100)), Value(*DateTime::parse("2026/12/01 10:11:12")), ""},
                  {"W02", "2", 1, Value(*Decimal::parse("-0.05")), Value::null(Type::DateTime), "*"},
                  {"W03", "0", 0, Value(Decimal(7)), Value::null(Type::DateTime), "*"},
                  {"W04", "0", 0, Value(Decimal(8)), Value::null(Type::DateTime), ""}});
  }
  InlineDefinitions defs;
  DataWindow dw{nullptr, defs.lookup()};
};

TEST_F(DataWindowStateRows, BuffersStatusesAndModificationsComeBack) {
  dw.setitem(1, "cwxzt", "0");
  dw.setitem(2, "bs", std::string("\xff\xfe", 2));  // not UTF-8
  dw.deleterow(4);
  long fresh = dw.insertrow(0);
  dw.setitem(fresh, "cwtsbh", "W09");
  dw.setfilter("cwxzt <> '0' or bs = '*'");
  dw.filter();
  dw.setsort("cwtsbh D");
  dw.sort();
  dw.modify("cwxzt_t.text='状态' bs.visible='0~tif(lqqbs = 1, 1, 0)' DataWindow.ReadOnly=yes");

  DataWindow back{nullptr, defs.lookup()};
  ASSERT_EQ(back.from_state_blob(dw.state_blob()), 1) << back.last_error();
  EXPECT_EQ(rendering(back), rendering(dw));
  EXPECT_EQ(back.rowcount(), dw.rowcount());
  EXPECT_EQ(back.filteredcount(), 2);  // W01 and the new row (null never passes)
  EXPECT_EQ(back.deletedcount(), 1);
  EXPECT_EQ(*back.getitemstring(1, "cwtsbh", Buffer::Delete), "W04");
  for (long r = 1; r <= dw.rowcount(); ++r) {
    EXPECT_EQ(back.getitemstatus(r, 0), dw.getitemstatus(r, 0)) << r;
    for (int c = 1; c <= 6; ++c) {
      EXPECT_EQ(back.getitem(r, c), dw.getitem(r, c)) << r << "," << c;
      EXPECT_EQ(back.getitem(r, c, Buffer::Primary, true), dw.getitem(r, c, Buffer::Primary, true)) << r << "," << c;
      EXPECT_EQ(back.getitemstatus(r, c), dw.getitemstatus(r, c)) << r << "," << c;
    }
  }
  EXPECT_EQ(back.getitemstatus(1, 0, Buffer::Filter), ItemStatus::DataModified);
  EXPECT_EQ(*back.getitemstring(1, "cwxzt", Buffer::Filter, true), "1");
  EXPECT_EQ(back.describe("cwxzt_t.text bs.visible DataWindow.ReadOnly datawindow.table.sort"),
            "状态\n0\tif(lqqbs = 1, 1, 0)\nyes\ncwtsbh D");
  EXPECT_EQ(back.getitemstring(2, "bs"), dw.getitemstring(2, "bs"));
  // The restored filter keeps working.
  back.setfilter("");
  back.filter();
  EXPECT_EQ(back.rowcount(), 4);
}

TEST_F(DataWindowStateRows, AStateThatCannotBeReadSaysWhyByItsKind) {
  const std::string good = dw.state_blob().bytes;
  DataWindow back{nullptr, defs.lookup()};
  auto kind_of = [&](const std::string& bytes) {
    auto r = back.restore_state(Blob{bytes});
    EXPECT_FALSE(r) << bytes.substr(0, 60);
    EXPECT_EQ(back.rowcount(), 0) << bytes.substr(0, 60);
    return r ? ErrorKind::Other : r.failure().kind;
  };
  EXPECT_EQ(kind_of(good.substr(0, good.size() / 2)), ErrorKind::Corrupt);
  for (const std::string foreign : {"%PDF-1.4\n", "[1, 2, 3]", R"({"format": "other.program", "version": 1})"})
    EXPECT_EQ(kind_of(foreign), ErrorKind::Foreign) << foreign;
  auto j = nlohmann::json::parse(good);
  j["version"] = "one";
  EXPECT_EQ(kind_of(j.dump()), ErrorKind::Corrupt);
  j["version"] = kStateVersion + 1;
  EXPECT_EQ(kind_of(j.dump()), ErrorKind::UnsupportedVersion);
  j["version"] = kStateVersion;
  j["dataobject"] = "d_gone";
  EXPECT_EQ(kind_of(j.dump()), ErrorKind::Other);
  EXPECT_TRUE(back.restore_state(Blob{good})) << back.last_error();
}

TEST_F(DataWindowStateRows, OnlyItsOwnKnownVersionsAreRead) {
  auto j = nlohmann::json::parse(dw.state_blob().bytes);
  EXPECT_EQ(j["version"], 1);
  j["version"] = 2;
  DataWindow back{nullptr, defs.lookup()};
  EXPECT_EQ(back.from_state_blob(Blob{j.dump()}), -1);
  EXPECT_NE(back.last_error().find("version 2"), std::string::npos) << back.last_error();
  EXPECT_EQ(back.from_state_blob(Blob{"{not json"}), -1);
  j["version"] = 1;
  j["buffers"]["primary"][0]["items"][3] = "lots";
  EXPECT_EQ(back.from_state_blob(Blob{j.dump()}), -1);
  EXPECT_NE(back.last_error().find("item 4 is no decimal"), std::string::npos) << back.last_error();
  EXPECT_EQ(back.rowcount(), 0);
  j["dataobject"] = "d_gone";
  EXPECT_EQ(back.from_state_blob(Blob{j.dump()}), -1);
}

TEST(DataWindowStateLive, RetrievingARestoredDataWindowMakesItLiveAgain) {
  TestDatabase db;
  add_rework(db, "A-0001", "X01", "换机油", "1.5", "30", "0");
  CountingFunctions fn;
  InlineDefinitions defs(&fn.registry);
  add_slip_definitions(defs);
  DataWindow slip{&fn.registry, defs.lookup()};
  slip.dataobject("d_slip");
  slip.settransobject(db.sqlca);
  ASSERT_EQ(slip.retrieve("%"), 1);
  Blob blob = slip.state_blob();
  add_rework(db, "B-0002", "X01", "换机油", "1", "20", "0");

  DataWindow back{&fn.registry, defs.lookup()};
  ASSERT_EQ(back.from_state_blob(blob), 1) << back.last_error();
  back.settransobject(db.sqlca);
  const ObjectDef& items = *back.definition().find_object("dw_items");
  EXPECT_EQ(back.nested(items, 1)->row_count(), 1);
  const int calls = fn.calls;
  ASSERT_EQ(back.retrieve("%"), 2);
  ASSERT_NE(back.nested(items, 2), nullptr);
  EXPECT_EQ(back.nested(items, 2)->row_count(), 1);
  back.visible(*back.definition().find_object("ngsf"), 2);
  EXPECT_GT(fn.calls, calls);  // live again: functions are called
}

}  // namespace
}  // namespace kq::dw
