// The person's search over a list (setsearch) and the order of text in
// sorts (Chinese collation), on a data window whose rows the test sets.
#include <gtest/gtest.h>

#include "platform/dw/datawindow/datawindow.h"
#include "platform/value/collation.h"
#include "test_database.h"

namespace kq::dw {
namespace {

using testing::add_rows;
using testing::InlineDefinitions;
using testing::kOrdersGrid;

Value dt(const char* text) { return Value(*DateTime::parse(text)); }
Value dec(const char* text) { return Value(*Decimal::parse(text)); }

class SearchAndCollation : public ::testing::Test {
 protected:
  void SetUp() override {
    defs.add("d_orders", kOrdersGrid);
    ASSERT_EQ(dw.dataobject("d_orders"), 1) << dw.last_error();
  }
  // The work-order column of the shown rows, in order.
  std::string shown() const {
    std::string s;
    for (long r = 1; r <= dw.rowcount(); ++r) s += (s.empty() ? "" : " ") + dw.getitemstring(r, "cwtsbh").value_or("?");
    return s;
  }
  std::string sorted_by(const char* sort) {
    EXPECT_EQ(dw.setsort(sort), 1) << dw.last_error();
    dw.sort();
    return shown();
  }
  InlineDefinitions defs;
  DataWindow dw{nullptr, defs.lookup()};
};

TEST_F(SearchAndCollation, SearchNarrowsByShownTextsOnTopOfTheFilter) {
  add_rows(dw, {
                   {"W01", "1", 0, dec("250.5"), dt("2026/12/03 09:00"), ""},
                   {"W02", "2", 1, dec("80"), dt("2026/12/03 09:00"), ""},
                   {"X03", "0", 0, dec("1234"), dt("2026/11/30 10:00"), ""},
                   {"W04", "1", 0, Value::null(Type::Decimal), Value::null(Type::DateTime), ""},
               });
  // Shown texts, not stored values: the code table's 结清 for "1", the
  // amount as formatted, the date as formatted; letters in any case.
  ASSERT_EQ(dw.setsearch("结清"), 1);
  EXPECT_EQ(shown(), "W01 W04");
  EXPECT_EQ(dw.searchtotal(), 4);
  dw.setsearch("1,234.00");
  EXPECT_EQ(shown(), "X03");
  dw.setsearch("2026/12/03");
  EXPECT_EQ(shown(), "W01 W02");
  dw.setsearch(" w0 ");
  EXPECT_EQ(shown(), "W01 W02 W04");
  EXPECT_EQ(dw.search_text(), "w0");
  dw.setsearch("nowhere");
  EXPECT_EQ(dw.rowcount(), 0);
  EXPECT_EQ(dw.getrow(), 0);
  EXPECT_EQ(dw.filteredcount(), 4);

  // The window's own filter stays as set; both apply, and the total counts
  // the rows the filter passes.
  ASSERT_EQ(dw.setfilter("cwxzt <> '0'"), 1);
  dw.setsearch("w0");
  dw.filter();
  EXPECT_EQ(dw.filter_text(), "cwxzt <> '0'");
  EXPECT_EQ(shown(), "W01 W02 W04");
  dw.setsearch("");
  EXPECT_EQ(shown(), "W01 W02 W04");
  EXPECT_EQ(dw.searchtotal(), 3);
  dw.setsearch("X03");
  EXPECT_EQ(shown(), "");
  EXPECT_EQ(dw.searchtotal(), 3) << "rows the filter passes, before the search";

  // A changed item is found by its new text; a sort in force stays.
  dw.setfilter("");
  dw.setsearch("");
  ASSERT_EQ(dw.setitem(2, "cwtsbh", Value("Y09")), 1);
  dw.setsearch("y09");
  EXPECT_EQ(shown(), "Y09");
  dw.setsearch("");
  EXPECT_EQ(sorted_by("cwtsbh D"), "Y09 X03 W04 W01");
  dw.setsearch("w");
  EXPECT_EQ(shown(), "W04 W01");
  EXPECT_GE(dw.getrow(), 1) << "the current row is one of the rows shown";
}

TEST_F(SearchAndCollation, TextSortsInChineseOrderNumbersAndDatesByValue) {
  add_rows(dw, {
                   {"张伟", "1", 0, dec("100"), dt("2026/12/02 10:00"), ""},
                   {"李娜", "1", 0, dec("9"), dt("2026/12/01 10:00"), ""},
                   {"王芳", "1", 0, dec("1000"), dt("2026/12/03 10:00"), ""},
                   {"阿明", "1", 0, Value::null(Type::Decimal), dt("2026/11/03 10:00"), ""},
                   {"刘洋", "1", 0, dec("-5"), Value::null(Type::DateTime), ""},
               });
  // Pinyin: a, li, liu, wang, zhang (code points would give 刘 张 李 王 阿).
  EXPECT_EQ(sorted_by("cwtsbh A"), "阿明 李娜 刘洋 王芳 张伟");
  EXPECT_EQ(sorted_by("cwtsbh D"), "张伟 王芳 刘洋 李娜 阿明");
  // An expression of text sorts the same way.
  EXPECT_EQ(sorted_by("left(cwtsbh, 1) A"), "阿明 李娜 刘洋 王芳 张伟");
  // Numbers and dates keep their order (nulls first).
  EXPECT_EQ(sorted_by("nhjje A"), "阿明 刘洋 李娜 张伟 王芳");
  EXPECT_EQ(sorted_by("djsrq A"), "刘洋 阿明 李娜 张伟 王芳");

  // Digits, then Han, then Latin letters alphabetically (case a lesser
  // difference); digit-only codes as their characters compare (no numeric
  // reading).
  dw.reset();
  add_rows(dw, {{"b", "1", 0, dec("1"), dt("2026/12/01"), ""},
                {"A", "1", 0, dec("1"), dt("2026/12/01"), ""},
                {"a", "1", 0, dec("1"), dt("2026/12/01"), ""},
                {"B", "1", 0, dec("1"), dt("2026/12/01"), ""},
                {"中", "1", 0, dec("1"), dt("2026/12/01"), ""},
                {"9", "1", 0, dec("1"), dt("2026/12/01"), ""}});
  EXPECT_EQ(sorted_by("cwtsbh A"), "9 中 a A b B");
  dw.reset();
  add_rows(dw, {{"100", "1", 0, dec("1"), dt("2026/12/01"), ""},
                {"9", "1", 0, dec("1"), dt("2026/12/01"), ""},
                {"10", "1", 0, dec("1"), dt("2026/12/01"), ""},
                {"A10", "1", 0, dec("1"), dt("2026/12/01"), ""}});
  EXPECT_EQ(sorted_by("cwtsbh A"), "10 100 9 A10");

  // The keys themselves: byte order is collation order.
  EXPECT_LT(text::collation_key("阿").compare(text::collation_key("张")), 0);
  EXPECT_LT(text::collate("abc", "abd"), 0);
  EXPECT_EQ(text::collate("王芳", "王芳"), 0);
}

}  // namespace
}  // namespace kq::dw
