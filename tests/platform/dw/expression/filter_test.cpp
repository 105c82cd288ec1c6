// Filters: the texts the windows set, rows kept only when the expression is
// true (false and null drop them), order kept in both parts.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/dw/expression/filter.h"
#include "test_table.h"

namespace kq::dw::expr {
namespace {

using testing::dt;
using testing::TestTable;

class FilterPrintList : public ::testing::Test {
 protected:
  void SetUp() override {
    t_.column("bs", Type::String);
    t_.column("cwtsbh", Type::String);
    t_.column("cwxzt", Type::String);
    t_.column("lqqbs", Type::Long);
    t_.column("djsrq", Type::DateTime);
    t_.finish();
    add("*", "B1", "1", 0);   // 0 settled
    add("", "B2", "2", 0);    // 1 owing
    add("*", "B3", "2", 1);   // 2 owing, earlier arrears
    add("", "B4", "0", 0);    // 3 in repair
    add("*", "B5", Value::null(Type::String), 0);  // 4 status unknown
    add(Value::null(Type::String), "B6", "1", 0);  // 5 settled, mark unknown
    add("*", "B7", "2", Value::null(Type::Long));  // 6 owing, arrears flag unknown
  }
  void add(Value bs, const char* cwtsbh, Value cwxzt, Value lqqbs) {
    all_.push_back(t_.row({std::move(bs), Value(cwtsbh), std::move(cwxzt), std::move(lqqbs), dt("2024/03/05")}));
  }
  // Indexes of the rows that `text` keeps; fails the test on a compile error.
  std::vector<RowId> kept(const std::string& text, std::vector<RowId>* dropped = nullptr) {
    auto f = Filter::compile(text, t_.names());
    EXPECT_TRUE(f.ok()) << f.error();
    std::vector<RowId> k, d;
    if (!f) return k;
    f->apply(t_, all_, k, d);
    for (RowId r : all_) EXPECT_EQ(f->keeps(t_, r), std::find(k.begin(), k.end(), r) != k.end()) << text << " row " << r;
    if (dropped) *dropped = d;
    return k;
  }

  TestTable t_;
  std::vector<RowId> all_;
};

TEST_F(FilterPrintList, SettledAndOwingWithoutArrears) {
  std::vector<RowId> dropped;
  EXPECT_EQ(kept(" (cwxzt = '1' or (cwxzt = '2' and lqqbs = 0) ) and (1 = 1) ", &dropped),
            (std::vector<RowId>{0, 1, 5}));
  EXPECT_EQ(dropped, (std::vector<RowId>{2, 3, 4, 6}));
}

TEST_F(FilterPrintList, IncludingArrears) {
  EXPECT_EQ(kept(" (1 = 1 ) and (1 = 1) "), (std::vector<RowId>{0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(FilterPrintList, MarkedOnly) {
  EXPECT_EQ(kept(" (1 = 1 ) and (bs = '*') "), (std::vector<RowId>{0, 2, 4, 6}));
  EXPECT_EQ(kept(" (cwxzt = '1' or (cwxzt = '2' and lqqbs = 0) ) and (bs = '*') "), (std::vector<RowId>{0}));
}

TEST_F(FilterPrintList, DispatchStatusFiltersDropUnknownStatus) {
  EXPECT_EQ(kept("cwxzt = '0'"), (std::vector<RowId>{3}));
  EXPECT_EQ(kept("cwxzt <> '0'"), (std::vector<RowId>{0, 1, 2, 5, 6}));
}

TEST_F(FilterPrintList, OtherFormsOfCondition) {
  EXPECT_EQ(kept("cwxzt in ('1','2') and not (lqqbs = 1)"), (std::vector<RowId>{0, 1, 5}));
  EXPECT_EQ(kept("left(cwtsbh, 1) = 'B' and right(cwtsbh, 1) > '5'"), (std::vector<RowId>{5, 6}));
  EXPECT_EQ(kept("isnull(cwxzt) or isnull(bs)"), (std::vector<RowId>{4, 5}));
  EXPECT_EQ(kept("lqqbs"), (std::vector<RowId>{2}));  // a number as condition: non-zero
}

TEST_F(FilterPrintList, EmptyTextKeepsEveryRow) {
  for (const char* text : {"", "   "}) {
    auto f = Filter::compile(text, t_.names());
    ASSERT_TRUE(f.ok());
    EXPECT_FALSE(f->active());
    EXPECT_EQ(kept(text), all_);
  }
}

TEST_F(FilterPrintList, ErrorsComeBackFromCompile) {
  auto bad = Filter::compile("cwxzt = ", t_.names());
  ASSERT_FALSE(bad.ok());
  EXPECT_EQ(bad.error(), "syntax error at position 9: expected an operand, found end of text");
  auto unknown = Filter::compile("cwzt = '1'", t_.names());
  ASSERT_FALSE(unknown.ok());
  EXPECT_EQ(unknown.error(), "unknown name 'cwzt' at position 1");
  auto typed = Filter::compile("lqqbs = '0'", t_.names());
  ASSERT_FALSE(typed.ok());
  EXPECT_EQ(typed.error(), "cannot compare long with string at position 7");
  auto text = Filter::compile("cwtsbh", t_.names());
  ASSERT_FALSE(text.ok());
  EXPECT_EQ(text.error(), "a filter must be a condition, not string");
}

}  // namespace
}  // namespace kq::dw::expr
