// Sorts: key lists with directions, nulls first ascending (last descending),
// stable on ties, expressions and computed fields as keys.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/dw/expression/sort.h"
#include "test_table.h"

namespace kq::dw::expr {
namespace {

using testing::dec;
using testing::dt;
using testing::TestTable;

class SortPrintList : public ::testing::Test {
 protected:
  void SetUp() override {
    t_.column("djsrq", Type::DateTime);
    t_.column("cwtsbh", Type::String);
    t_.column("n", Type::Any);  // numbers of either kind
    t_.computed("amount", "n * 2");
    t_.finish();
    add(dt("2024/03/05 10:00:00"), "B3", 3);                    // 0
    add(dt("2024/03/06 09:00:00"), "B2", dec("2.5"));            // 1
    add(dt("2024/03/05 10:00:00"), "B1", 1);                    // 2
    add(Value::null(Type::DateTime), "B9", dec("0.5"));          // 3
    add(dt("2024/03/06 09:00:00"), "A-1", Value());              // 4
    add(dt("2024/03/05 10:00:00"), "B1", 10);                   // 5: same keys as 2
    add(dt("2024/03/05 10:00:00"), Value::null(Type::String), 7);  // 6
  }
  void add(Value d, Value bh, Value n) { all_.push_back(t_.row({std::move(d), std::move(bh), std::move(n)})); }

  std::vector<RowId> sorted(const std::string& text) {
    auto s = Sort::compile(text, t_.names());
    EXPECT_TRUE(s.ok()) << s.error();
    std::vector<RowId> rows = all_;
    if (!s) return rows;
    s->apply(t_, rows);
    // compare() agrees with the order apply() produced.
    for (size_t i = 1; i < rows.size(); ++i) EXPECT_LE(s->compare(t_, rows[i - 1], rows[i]), 0) << text << " at " << i;
    return rows;
  }

  TestTable t_;
  std::vector<RowId> all_;
};

TEST_F(SortPrintList, LatestSettlementFirstThenNumber) {
  EXPECT_EQ(sorted("djsrq D ,cwtsbh A"), (std::vector<RowId>{4, 1, 6, 2, 5, 0, 3}));
}

TEST_F(SortPrintList, SpacingCaseAndDefaultDirection) {
  const std::vector<RowId> expected = {4, 1, 6, 2, 5, 0, 3};
  EXPECT_EQ(sorted("DJSRQ d,cwtsbh   a"), expected);
  EXPECT_EQ(sorted("  djsrq   D ,  cwtsbh"), expected);
}

TEST_F(SortPrintList, NullsFirstAscendingLastDescending) {
  EXPECT_EQ(sorted("djsrq A"), (std::vector<RowId>{3, 0, 2, 5, 6, 1, 4}));
  EXPECT_EQ(sorted("cwtsbh D"), (std::vector<RowId>{3, 0, 1, 2, 5, 4, 6}));
}

TEST_F(SortPrintList, TiesKeepTheirOrder) {
  std::vector<RowId> rows = sorted("cwtsbh A");
  EXPECT_EQ(rows, (std::vector<RowId>{6, 4, 2, 5, 1, 0, 3}));
  std::reverse(all_.begin(), all_.end());
  EXPECT_EQ(sorted("cwtsbh A"), (std::vector<RowId>{6, 4, 5, 2, 1, 0, 3}));
}

TEST_F(SortPrintList, NumbersOfBothKindsSortByValue) {
  EXPECT_EQ(sorted("n A"), (std::vector<RowId>{4, 3, 2, 1, 0, 6, 5}));
  EXPECT_EQ(sorted("amount D"), (std::vector<RowId>{5, 6, 0, 1, 2, 3, 4}));
}

TEST_F(SortPrintList, ExpressionKeys) {
  EXPECT_EQ(sorted("left(cwtsbh, 1) D, if(isnull(n), 0, n) D"), (std::vector<RowId>{5, 0, 1, 2, 3, 4, 6}));
  EXPECT_EQ(sorted("string(djsrq, 'dd') A, cwtsbh D"), (std::vector<RowId>{3, 0, 2, 5, 6, 1, 4}));
}

TEST_F(SortPrintList, EmptyTextKeepsTheOrder) {
  EXPECT_EQ(sorted(""), all_);
  auto s = Sort::compile(" ", t_.names());
  ASSERT_TRUE(s.ok());
  EXPECT_TRUE(s->keys().empty());
}

TEST_F(SortPrintList, Errors) {
  auto direction = Sort::compile("djsrq X", t_.names());
  ASSERT_FALSE(direction.ok());
  EXPECT_EQ(direction.error(), "syntax error at position 7: expected 'A', 'D', ',' or end of text, found 'X'");
  auto trailing = Sort::compile("djsrq D,", t_.names());
  ASSERT_FALSE(trailing.ok());
  EXPECT_EQ(trailing.error(), "syntax error at position 9: expected an operand, found end of text");
  auto unknown = Sort::compile("djsrq D, nosuch A", t_.names());
  ASSERT_FALSE(unknown.ok());
  EXPECT_EQ(unknown.error(), "unknown name 'nosuch' at position 10");
}

TEST_F(SortPrintList, KeyTextsAreKept) {
  auto s = Sort::compile("djsrq D ,left( cwtsbh ,2) A", t_.names());
  ASSERT_TRUE(s.ok());
  ASSERT_EQ(s->keys().size(), 2u);
  EXPECT_EQ(s->keys()[0].expr.text(), "djsrq");
  EXPECT_TRUE(s->keys()[0].descending);
  EXPECT_EQ(s->keys()[1].expr.text(), "left( cwtsbh ,2)");
  EXPECT_FALSE(s->keys()[1].descending);
}

TEST(SortText, CodePointOrderForChineseText) {
  TestTable t;
  t.column("ckhmc", Type::String);
  t.finish();
  std::vector<RowId> rows = {t.row({Value("张三")}), t.row({Value("Zhang")}), t.row({Value("李四")}),
                             t.row({Value("")})};
  auto s = Sort::compile("ckhmc A", t.names());
  ASSERT_TRUE(s.ok());
  s->apply(t, rows);
  EXPECT_EQ(rows, (std::vector<RowId>{3, 1, 0, 2}));  // "", Latin, 张 (U+5F20), 李 (U+674E)
}

TEST(SortText, LongTextsSharingTheirFirstBytes) {
  TestTable t;
  t.column("s", Type::String);
  t.finish();
  std::vector<RowId> rows;
  for (const char* s : {"ABCDEFGHZ", "é", "ABCDEFGHA", "ABCDEFGH", "", "ABCDEFGI", "ABC", "ABCDEFGHA"})
    rows.push_back(t.row({Value(s)}));
  auto s = Sort::compile("s A", t.names());
  ASSERT_TRUE(s.ok());
  s->apply(t, rows);
  EXPECT_EQ(rows, (std::vector<RowId>{4, 6, 3, 2, 7, 0, 5, 1}));
}

}  // namespace
}  // namespace kq::dw::expr
