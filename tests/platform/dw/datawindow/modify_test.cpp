// modify() and describe().
#include <gtest/gtest.h>

#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/datawindow/property_text.h"
#include "test_database.h"

namespace kq::dw {
namespace {

using testing::add_rows;
using testing::InlineDefinitions;
using testing::kOrdersGrid;

class DataWindowModify : public ::testing::Test {
 protected:
  void SetUp() override {
    defs.add("d_orders", kOrdersGrid);
    ASSERT_EQ(dw.dataobject("d_orders"), 1);
    add_rows(dw, {{"W01", "1", 0, Value(Decimal(100)), Value::null(Type::DateTime), "*"},
                  {"W02", "2", 1, Value(Decimal(80)), Value::null(Type::DateTime), "*"}});
  }
  const ObjectDef& object(const char* name) const { return *dw.definition().find_object(name); }
  InlineDefinitions defs;
  DataWindow dw{nullptr, defs.lookup()};
};

TEST_F(DataWindowModify, ChangesATextObject) {
  EXPECT_EQ(dw.modify("cwtsbh_t.text = '*委托书编号'"), "");
  EXPECT_EQ(dw.describe("cwtsbh_t.text"), "*委托书编号");
  EXPECT_EQ(dw.display_text(object("cwtsbh_t"), 0), "*委托书编号");
  EXPECT_EQ(dw.modify("cwtsbh_t.text=\"it's ~\"x~\"\""), "");
  EXPECT_EQ(dw.describe("cwtsbh_t.text"), "it's \"x\"");
}

TEST_F(DataWindowModify, DataWindowPropertiesOfTheWindows) {
  EXPECT_EQ(dw.modify("DataWindow.Grid.ColumnMove=No"), "");
  EXPECT_EQ(dw.modify("DataWindow.Selected.Mouse = No"), "");
  EXPECT_EQ(dw.describe("DataWindow.Grid.ColumnMove DataWindow.Selected.Mouse"), "No\nNo");
  EXPECT_FALSE(dw.readonly());
  EXPECT_EQ(dw.modify("DataWindow.ReadOnly=Yes"), "");
  EXPECT_TRUE(dw.readonly());
  EXPECT_EQ(dw.describe("datawindow.readonly"), "yes");
  EXPECT_TRUE(dw.is_protected(object("cwtsbh"), 1));
  EXPECT_NE(dw.modify("DataWindow.ReadOnly=perhaps"), "");
  dw.set_readonly(false);
  EXPECT_EQ(dw.describe("DataWindow.ReadOnly"), "no");
}

TEST_F(DataWindowModify, VisibilityByValueOrExpression) {
  EXPECT_TRUE(dw.visible(object("cwxzt"), 1));
  EXPECT_EQ(dw.modify("cwxzt.visible=0"), "");
  EXPECT_FALSE(dw.visible(object("cwxzt"), 1));
  EXPECT_EQ(dw.modify("cwxzt.visible='1~tif(cwxzt = ~'2~', 1, 0)'"), "");
  EXPECT_FALSE(dw.visible(object("cwxzt"), 1));
  EXPECT_TRUE(dw.visible(object("cwxzt"), 2));
  EXPECT_EQ(dw.describe("cwxzt.visible"), "1\tif(cwxzt = '2', 1, 0)");
  EXPECT_NE(dw.modify("cwxzt.visible='if(nope = 1, 1, 0)'"), "");
}

TEST_F(DataWindowModify, SeveralAssignmentsAndTheFirstError) {
  EXPECT_EQ(dw.modify("cwtsbh_t.text='A' cwxzt_t.text='B'"), "");
  EXPECT_EQ(dw.describe("cwtsbh_t.text cwxzt_t.text"), "A\nB");
  std::string err = dw.modify("cwtsbh_t.text='C' nope.text='D' cwxzt_t.text='E'");
  EXPECT_NE(err.find("no object 'nope'"), std::string::npos) << err;
  EXPECT_EQ(dw.describe("cwtsbh_t.text cwxzt_t.text"), "C\nB");
  EXPECT_NE(dw.modify("cwtsbh.text='x'"), "");  // a column has no text
  EXPECT_NE(dw.modify("cwtsbh_t.text 'x'"), "");
  EXPECT_NE(dw.modify("cwtsbh_t.text = 'x"), "");
  EXPECT_NE(dw.modify(""), "");
}

TEST_F(DataWindowModify, DescribesObjectsAndTheDefinition) {
  EXPECT_EQ(dw.describe("cwtsbh.type nhjje.coltype cwtsbh.coltype djsrq.coltype lqqbs.coltype"),
            "column\ndecimal(2)\nchar(13)\ndatetime\nlong");
  EXPECT_EQ(dw.describe("cwtsbh_t.type compute_1.type compute_1.band cwtsbh_t.band nhjje.format"),
            "text\ncompute\nfooter\nheader\n###,##0.00");
  EXPECT_EQ(dw.describe("compute_1.expression"), "'记录数:'+currentRow()+'/'+rowcount()");
  EXPECT_EQ(dw.describe("DataWindow.Column.Count nope.text cwtsbh.nothing DataWindow.Table.Select"),
            "6\n!\n!\nSELECT cwtsbh, cwxzt, lqqbs, nhjje, djsrq, bs FROM v_orders");
  dw.setfilter("cwxzt = '1'");
  EXPECT_EQ(dw.describe("datawindow.table.filter"), "cwxzt = '1'");
}

TEST_F(DataWindowModify, ANewDataObjectForgetsTheModifications) {
  dw.modify("cwtsbh_t.text='X' DataWindow.ReadOnly=yes cwxzt.visible=0");
  dw.setfilter("cwxzt = '1'");
  ASSERT_EQ(dw.dataobject("d_orders"), 1);
  EXPECT_EQ(dw.describe("cwtsbh_t.text"), "委托书编号");
  EXPECT_FALSE(dw.readonly());
  EXPECT_EQ(dw.describe("cwxzt.visible"), "1");
  EXPECT_EQ(dw.filter_text(), "");
  EXPECT_EQ(dw.rowcount(), 0);
}

TEST(DataWindowPropertyText, ParsesAssignmentsAndReferences) {
  auto a = parse_modify("DataWindow.Grid.ColumnMove=No  x_t.text = '*返修 工位'");
  ASSERT_TRUE(a) << a.error();
  ASSERT_EQ(a->size(), 2u);
  EXPECT_EQ((*a)[0].target.object, "datawindow");
  EXPECT_EQ((*a)[0].target.property, "grid.columnmove");
  EXPECT_EQ((*a)[0].value, "No");
  EXPECT_EQ((*a)[1].value, "*返修 工位");
  EXPECT_TRUE((*a)[1].quoted);
  EXPECT_FALSE(parse_modify("x = 1"));
  EXPECT_FALSE(parse_modify("x.text ="));
  auto d = parse_describe(" a.b  C.D.E ");
  ASSERT_TRUE(d);
  EXPECT_EQ((*d)[1].object, "c");
  EXPECT_EQ((*d)[1].property, "d.e");
}

}  // namespace
}  // namespace kq::dw
