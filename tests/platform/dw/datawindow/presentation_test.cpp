// What renderers ask of a data window.
#include <gtest/gtest.h>

#include "platform/dw/datawindow/datawindow.h"
#include "test_database.h"

namespace kq::dw {
namespace {

using testing::add_rework;
using testing::add_rows;
using testing::add_slip_definitions;
using testing::CountingFunctions;
using testing::InlineDefinitions;
using testing::kOrdersGrid;
using testing::TestDatabase;

Value dec(const char* text) { return Value(*Decimal::parse(text)); }

class DataWindowPresentation : public ::testing::Test {
 protected:
  void SetUp() override {
    defs.add("d_orders", kOrdersGrid);
    ASSERT_EQ(dw.dataobject("d_orders"), 1);
  }
  const ObjectDef& object(const char* name) const { return *dw.definition().find_object(name); }
  std::string text(const char* name, long row) const { return dw.display_text(object(name), row); }
  InlineDefinitions defs;
  DataWindow dw{nullptr, defs.lookup()};
};

TEST_F(DataWindowPresentation, CodeTablesFormatsCheckBoxesAndVisibility) {
  add_rows(dw, {{"W01", "1", 0, dec("1234.5"), Value(*DateTime::parse("2026/12/03 09:15")), "*"},
                {"W02", "9", 1, Value::null(Type::Decimal), Value::null(Type::DateTime), "*"}});
  EXPECT_EQ(text("cwtsbh_t", 0), "委托书编号");
  EXPECT_EQ(text("cwxzt", 1), "结清");
  EXPECT_EQ(text("cwxzt", 2), "9");  // a code outside the table shows as it is
  EXPECT_EQ(text("nhjje", 1), "1,234.50");
  EXPECT_EQ(text("nhjje", 2), "");
  EXPECT_EQ(text("djsrq", 1), "2026/12/03");
  EXPECT_EQ(text("cwtsbh", 3), "");  // past the end
  EXPECT_EQ(text("lqqbs", 1), "前欠");
  EXPECT_FALSE(dw.checked(object("lqqbs"), 1));
  EXPECT_TRUE(dw.checked(object("lqqbs"), 2));
  EXPECT_TRUE(dw.visible(object("bs"), 1));
  EXPECT_FALSE(dw.visible(object("bs"), 2));
  EXPECT_TRUE(dw.visible(object("cwtsbh"), 2));
}

TEST_F(DataWindowPresentation, RecordCounterAndTotalsFollowCurrentRowAndFilter) {
  EXPECT_EQ(text("compute_1", 0), "记录数:0/0");
  EXPECT_EQ(text("t_nhjje", 0), "0.00");
  add_rows(dw, {{"W01", "1", 0, dec("100"), Value::null(Type::DateTime), ""},
                {"W02", "2", 0, dec("1200.25"), Value::null(Type::DateTime), ""},
                {"W03", "0", 0, Value::null(Type::Decimal), Value::null(Type::DateTime), ""}});
  EXPECT_EQ(text("compute_1", 1), "记录数:1/3");
  EXPECT_EQ(text("t_nhjje", 1), "1,300.25");
  dw.setitem(1, "nhjje", "200");
  EXPECT_EQ(text("t_nhjje", 1), "1,400.25");
  dw.setrow(2);
  EXPECT_EQ(text("compute_1", 2), "记录数:2/3");
  dw.setfilter("cwxzt <> '2'");
  dw.filter();
  EXPECT_EQ(text("compute_1", 1), "记录数:1/2");
  EXPECT_EQ(text("t_nhjje", 1), "200.00");  // totals cover the rows shown
  EXPECT_EQ(text("cwxzt_t", 0), "结算状态");
}

TEST_F(DataWindowPresentation, ComputedFieldsAggregatesAndGlobalFunctions) {
  CountingFunctions fn;
  InlineDefinitions form_defs(&fn.registry);
  form_defs.add("d_form", R"yaml(name: d_form
style: form
query: "SELECT cwtsbh, cwxzt, nhjje FROM v_orders"
columns:
  - {name: cwtsbh, type: char(13)}
  - {name: cwxzt, type: char(1)}
  - {name: nhjje, type: decimal(2)}
computes:
  - {name: share, expression: "nhjje / sum(nhjje for all)"}
  - {name: above, expression: "if(nhjje > avg(nhjje for all), 1, 0)"}
  - {name: mode, expression: "f_para('SVC', cwxzt)"}
header:
  - [{compute: title, expression: "case(cwxzt when '2' then if(left(cwtsbh,1) = 'A','保险欠账结算单','欠账结算单') else if(left(cwtsbh,1) = 'A','保险结算单','结算单'))"}]
detail:
  - [{column: cwtsbh}, {column: nhjje, format: "#,###.00", visible: "if(nhjje = 0 or (mode = '0' and left(cwtsbh,2) = 'A-'),0,1)"}]
  - [{compute: pct, expression: "share * 100", format: "#0.00"}]
summary:
  - [{compute: total_share, expression: "sum(share for all)", format: "0.00"}, {compute: n_above, expression: "sum(above for all)"}]
)yaml");
  DataWindow form{&fn.registry, form_defs.lookup()};
  ASSERT_EQ(form.dataobject("d_form"), 1) << form.last_error();
  add_rows(form, {{"A-1", "2", dec("100")}, {"B-2", "1", dec("300")}, {"A-3", "1", dec("0")}});
  auto at = [&](const char* name, long row) { return form.display_text(*form.definition().find_object(name), row); };
  auto shown = [&](const char* name, long row) { return form.visible(*form.definition().find_object(name), row); };
  EXPECT_EQ(at("title", 1), "保险欠账结算单");
  EXPECT_EQ(at("title", 2), "结算单");
  EXPECT_EQ(at("title", 3), "保险结算单");
  EXPECT_EQ(at("pct", 1), "25.00");
  EXPECT_EQ(at("pct", 2), "75.00");
  // An aggregate over a field that itself aggregates over every row.
  EXPECT_EQ(at("total_share", 1), "1.00");
  EXPECT_EQ(at("n_above", 1), "1");
  EXPECT_FALSE(shown("nhjje", 1));  // insurance order with mode '0'
  EXPECT_TRUE(shown("nhjje", 2));
  EXPECT_FALSE(shown("nhjje", 3));  // zero amount
  // Each distinct call of a global function runs once.
  for (int i = 0; i < 3; ++i)
    for (long r = 1; r <= 3; ++r) shown("nhjje", r);
  EXPECT_EQ(fn.calls, 2);
  form.reset();
  add_rows(form, {{"A-1", "2", dec("100")}});
  EXPECT_FALSE(shown("nhjje", 1));
  EXPECT_EQ(fn.calls, 3);  // a new set of rows asks again
}

TEST_F(DataWindowPresentation, ProtectExpressionsAndReadOnly) {
  defs.add("d_protect", "name: d_protect\nstyle: form\nquery: \"select a, lksbs from t\"\n"
                        "columns: [{name: a, type: char(2)}, {name: lksbs, type: long}]\n"
                        "detail:\n  - [{column: a, protect: \"if (lksbs =1,1,0)\"}, {column: lksbs, protect: true}]\n");
  DataWindow f{nullptr, defs.lookup()};
  ASSERT_EQ(f.dataobject("d_protect"), 1) << f.last_error();
  add_rows(f, {{"x", 0}, {"y", 1}});
  const ObjectDef& a = *f.definition().find_object("a");
  EXPECT_FALSE(f.is_protected(a, 1));
  EXPECT_TRUE(f.is_protected(a, 2));
  EXPECT_TRUE(f.is_protected(*f.definition().find_object("lksbs"), 1));
  f.set_readonly(true);
  EXPECT_TRUE(f.is_protected(a, 1));
}

TEST(DataWindowNested, ReportsAreRetrievedOncePerArgumentValues) {
  TestDatabase db;
  add_rework(db, "A-0001", "X01", "换机油", "1.5", "30", "0");
  add_rework(db, "A-0001", "X02", "刹车", "2", "45.5", "0");
  add_rework(db, "B-0002", "X01", "换机油", "1", "20", "0");
  CountingFunctions fn;
  InlineDefinitions defs(&fn.registry);
  add_slip_definitions(defs);
  DataWindow slip{&fn.registry, defs.lookup()};
  ASSERT_EQ(slip.dataobject("d_slip"), 1) << slip.last_error();
  const ObjectDef& items = *slip.definition().find_object("dw_items");
  EXPECT_EQ(slip.nested(items, 1), nullptr);  // no transaction, no rows
  slip.settransobject(db.sqlca);
  ASSERT_EQ(slip.retrieve("%"), 2) << slip.last_error();

  const Presentation* first = slip.nested(items, 1);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->row_count(), 2);
  const ObjectDef& name = *first->definition().find_object("cxmmc");
  EXPECT_EQ(first->display_text(name, 2), "刹车");
  const ObjectDef& fee = *first->definition().find_object("ngsf");
  EXPECT_TRUE(first->visible(fee, 1));
  EXPECT_FALSE(first->visible(fee, 2));  // f_para('svc','X02') = 'X02'
  const int64_t statements = db.sqlca.statement_count();
  EXPECT_EQ(slip.nested(items, 1), first);
  EXPECT_EQ(db.sqlca.statement_count(), statements);
  const Presentation* second = slip.nested(items, 2);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  EXPECT_EQ(second->row_count(), 1);
  // A new retrieval forgets the nested reports.
  ASSERT_EQ(slip.retrieve("B%"), 1);
  EXPECT_EQ(slip.nested(items, 1)->row_count(), 1);
}

}  // namespace
}  // namespace kq::dw
