// Aggregates over every row follow each change of the rows: values, inserted
// and deleted rows, filter, sort, current row and reset. They are remembered
// between changes, so a stale value would show here.
#include <gtest/gtest.h>

#include <string>

#include "platform/dw/datawindow/datawindow.h"
#include "test_database.h"

namespace kq::dw {
namespace {

using testing::add_rows;
using testing::InlineDefinitions;

constexpr const char* kTotals = R"yaml(name: d_totals
style: grid
query: "SELECT cwtsbh, cwxzt, lqqbs, nhjje, djsrq, bs FROM v_orders"
columns:
  - {name: cwtsbh, type: char(13)}
  - {name: cwxzt, type: char(1)}
  - {name: lqqbs, type: number}
  - {name: nhjje, type: decimal(2)}
  - {name: djsrq, type: datetime}
  - {name: bs, type: char(1)}
grid:
  - {column: cwtsbh, heading: 委托书编号}
  - {column: nhjje, heading: 合计金额, total: {name: t_sum, expression: "sum(nhjje for all)"}}
footer:
  - {under: cwtsbh, compute: t_first, expression: "max(if(getrow() = 1, cwtsbh, '') for all)"}
  - {under: nhjje, compute: t_current, expression: "sum(if(getrow() = currentrow(), nhjje, 0) for all)"}
)yaml";

Value dec(const char* text) { return Value(*Decimal::parse(text)); }

class DataWindowAggregates : public ::testing::Test {
 protected:
  void SetUp() override {
    defs.add("d_totals", kTotals);
    ASSERT_EQ(dw.dataobject("d_totals"), 1) << dw.last_error();
    add_rows(dw, {
                     {"W03", "0", 0, dec("100"), Value::null(Type::DateTime), ""},
                     {"W01", "1", 0, dec("250.5"), Value::null(Type::DateTime), ""},
                     {"W02", "2", 1, dec("80"), Value::null(Type::DateTime), ""},
                 });
  }

  std::string shown(const char* object) const {
    const ObjectDef* o = dw.definition().find_object(object);
    if (!o) return std::string("no object ") + object;
    return dw.object_value(*o, dw.rowcount() ? dw.rowcount() : 0).debug_string();
  }
  // The same figures read item by item.
  std::string sum_of_items() const {
    Decimal s(0);
    for (long r = 1; r <= dw.rowcount(); ++r)
      if (auto v = dw.getitemdecimal(r, "nhjje")) s = s + *v;
    return Value(s).debug_string();
  }
  // max() over no rows is null.
  std::string first_item() const {
    return (dw.rowcount() ? Value(*dw.getitemstring(1, "cwtsbh")) : Value::null(Type::String)).debug_string();
  }
  std::string current_item() const {
    auto v = dw.getrow() ? dw.getitemdecimal(dw.getrow(), "nhjje") : std::nullopt;
    return Value(v ? *v : Decimal(0)).debug_string();
  }
  void agree(const std::string& after) {
    SCOPED_TRACE("after " + after);
    EXPECT_EQ(shown("t_sum"), sum_of_items());
    EXPECT_EQ(shown("t_first"), first_item());
    EXPECT_EQ(shown("t_current"), current_item());
  }

  InlineDefinitions defs;
  DataWindow dw{nullptr, defs.lookup()};
};

TEST_F(DataWindowAggregates, FollowEveryChangeOfTheRows) {
  agree("adding rows");
  EXPECT_EQ(shown("t_sum"), sum_of_items());
  const std::string before = shown("t_sum");
  ASSERT_EQ(dw.setitem(2, "nhjje", "50"), 1);
  EXPECT_NE(shown("t_sum"), before) << "a changed item changes the sum";
  agree("setitem");
  const long added = dw.insertrow(1);
  ASSERT_GT(added, 0);
  ASSERT_EQ(dw.setitem(added, "cwtsbh", "W00"), 1);
  ASSERT_EQ(dw.setitem(added, "nhjje", "1.25"), 1);
  agree("insertrow and setitem");
  ASSERT_EQ(dw.deleterow(2), 1);
  agree("deleterow");
  ASSERT_EQ(dw.setfilter("cwxzt <> '2'"), 1);
  ASSERT_EQ(dw.filter(), 1);
  agree("filter");
  ASSERT_EQ(dw.setsort("cwtsbh D"), 1);
  ASSERT_EQ(dw.sort(), 1);
  agree("sort");
  ASSERT_EQ(dw.setrow(dw.rowcount()), 1);
  agree("setrow");
  ASSERT_EQ(dw.setfilter(""), 1);
  ASSERT_EQ(dw.filter(), 1);
  agree("filter off");
  ASSERT_EQ(dw.reset(), 1);
  agree("reset");
  EXPECT_EQ(shown("t_sum"), Value(Decimal(0)).debug_string());
}

}  // namespace
}  // namespace kq::dw
