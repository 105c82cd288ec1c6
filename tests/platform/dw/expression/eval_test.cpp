// Evaluation: arithmetic, text joining, comparisons, the built-in functions,
// case/if/in, aggregates over the primary buffer and the row functions.
#include <gtest/gtest.h>

#include "platform/value/datetime.h"
#include "test_table.h"

namespace kq::dw::expr {
namespace {

using testing::dec;
using testing::dt;
using testing::show;
using testing::TestTable;

class ExpressionEval : public ::testing::Test {
 protected:
  void SetUp() override {
    t_.column("cwtsbh", Type::String);
    t_.column("n", Type::Long);
    t_.column("d", Type::Decimal);
    t_.column("djsrq", Type::DateTime);
    t_.column("s", Type::String);
    t_.argument("bh", Value("A-0001"));
    r1_ = t_.row({"A-0001", 3, dec("2.50"), dt("2024/03/05 14:30:00"), "记录数"});
    r2_ = t_.row({"B0002", 7, dec("10"), dt("2024/03/06"), Value::null(Type::String)});
    r3_ = t_.row({"C0003", Value::null(Type::Long), Value::null(Type::Decimal), Value::null(Type::DateTime), "x"});
    t_.finish();
  }
  std::string eval(const char* text, RowId row) { return show(t_.eval(text, row)); }
  std::string eval(const char* text) { return show(t_.eval(text, r1_)); }

  TestTable t_;
  RowId r1_ = 0, r2_ = 0, r3_ = 0;
};

TEST_F(ExpressionEval, ArithmeticKeepsLongAndGoesDecimalExactly) {
  EXPECT_EQ(eval("n + 2"), "long:5");
  EXPECT_EQ(eval("n * 2 - 10"), "long:-4");
  EXPECT_EQ(eval("n / 2"), "decimal:1.5");  // division is decimal
  EXPECT_EQ(eval("d * 3"), "decimal:7.5");
  EXPECT_EQ(eval("d / (1 + 13 / 100.00)"), "decimal:2.2123893805");
  EXPECT_EQ(eval("0.1 + 0.2 = 0.3"), "boolean:true");  // exact, not binary floating point
  EXPECT_EQ(eval("-d"), "decimal:-2.5");
  EXPECT_EQ(eval("n / 0"), "null");
  EXPECT_EQ(eval("d / (n - 3)"), "null");
}

TEST_F(ExpressionEval, PlusJoinsTextConvertingTheOtherSide) {
  EXPECT_EQ(eval("'记录数:' + n + '/' + rowcount()"), "string:记录数:3/3");
  EXPECT_EQ(eval("s + ':' + d"), "string:记录数:2.5");
  EXPECT_EQ(eval("n + '!'"), "string:3!");
  EXPECT_EQ(eval("'on ' + djsrq"), "string:on 2024/03/05 14:30:00");
  EXPECT_EQ(eval("s + 'x'", r2_), "null");
}

TEST_F(ExpressionEval, ComparisonsByKind) {
  EXPECT_EQ(eval("n = 3.00"), "boolean:true");  // long against decimal by value
  EXPECT_EQ(eval("d > 2"), "boolean:true");
  EXPECT_EQ(eval("2 < d"), "boolean:true");  // constant on the left
  EXPECT_EQ(eval("d <= 2.5 and d >= 2.50 and d <> 2.49"), "boolean:true");
  EXPECT_EQ(eval("cwtsbh < 'B'"), "boolean:true");
  EXPECT_EQ(eval("cwtsbh >= 'A-0001' and cwtsbh <= 'A-0001'"), "boolean:true");
  EXPECT_EQ(eval("'b' > 'B'"), "boolean:true");  // case matters
  EXPECT_EQ(eval("s > 'z'"), "boolean:true");    // code-point order: CJK after ASCII
  EXPECT_EQ(eval("djsrq < date('2024/03/06')"), "boolean:true");
  EXPECT_EQ(eval("djsrq = djsrq"), "boolean:true");
  EXPECT_EQ(eval("n <> 3"), "boolean:false");
}

TEST_F(ExpressionEval, TextFunctionsCountCharacters) {
  EXPECT_EQ(eval("left(cwtsbh,2) = 'A-'"), "boolean:true");
  EXPECT_EQ(eval("left(s, 2)"), "string:记录");
  EXPECT_EQ(eval("right(s, 1)"), "string:数");
  EXPECT_EQ(eval("mid(s, 2)"), "string:录数");
  EXPECT_EQ(eval("mid(s, 2, 1)"), "string:录");
  EXPECT_EQ(eval("len(s)"), "long:3");
  EXPECT_EQ(eval("len('')"), "long:0");
  EXPECT_EQ(eval("trim('  a b  ')"), "string:a b");
  EXPECT_EQ(eval("upper('ab记') + lower('CD')"), "string:AB记cd");
  EXPECT_EQ(eval("left(cwtsbh, 0) + left(cwtsbh, -1) + left(cwtsbh, 99)"), "string:A-0001");
  EXPECT_EQ(eval("left(n * 100, 2)"), "string:30");  // a number is taken in its text form
}

TEST_F(ExpressionEval, StringAndConversions) {
  EXPECT_EQ(eval("string(djsrq,'yyyy年mm月dd日')"), "string:2024年03月05日");
  EXPECT_EQ(eval("string(d, '###,##0.00')"), "string:2.50");
  EXPECT_EQ(eval("string(n)"), "string:3");
  EXPECT_EQ(eval("number('12.5') + dec('1') + long('7.9')"), "decimal:20.5");
  EXPECT_EQ(eval("long('7.9')"), "long:7");
  EXPECT_EQ(eval("number('abc')"), "decimal:0");
  EXPECT_EQ(eval("long(d)"), "long:2");
  EXPECT_EQ(eval("dec(n)"), "decimal:3");
  EXPECT_EQ(eval("abs(-5) + abs(n - 10)"), "long:12");
  EXPECT_EQ(eval("abs(-2.5)"), "decimal:2.5");
  EXPECT_EQ(eval("round(2.345, 2)"), "decimal:2.35");
  EXPECT_EQ(eval("round(-2.345, 2)"), "decimal:-2.35");
  EXPECT_EQ(eval("round(1250, -2)"), "decimal:1300");
  EXPECT_EQ(eval("date(djsrq)"), "datetime:2024/03/05 00:00:00");
  EXPECT_EQ(eval("date('2024/02/30')"), "datetime:1900/01/01 00:00:00");
  EXPECT_EQ(eval("isnull(s)", r2_), "boolean:true");
  EXPECT_EQ(eval("isnull(s)"), "boolean:false");
}

TEST_F(ExpressionEval, TodayReadsTheClock) {
  DateTime::set_clock([] { return *DateTime::parse("2024/05/06 07:08:09"); });
  EXPECT_EQ(eval("today()"), "datetime:2024/05/06 07:08:09");
  EXPECT_EQ(eval("date(today()) = date('2024/05/06')"), "boolean:true");
  DateTime::set_clock({});
}

TEST_F(ExpressionEval, IfAndCase) {
  EXPECT_EQ(eval("if(n > 2, 'big', 'small')"), "string:big");
  EXPECT_EQ(eval("if(n > 2, 'big', 'small')", r3_), "string:small");  // null condition takes the false branch
  EXPECT_EQ(eval("case(n when 1 then 'one' when 2, 3 then 'two or three' else 'many')"), "string:two or three");
  EXPECT_EQ(eval("case(n when 1 then 'one' else 'other')", r2_), "string:other");
  EXPECT_EQ(eval("case(n when 1 then 'one')", r2_), "null");  // no else
  EXPECT_EQ(eval("case(n when 3 then 'three' else 'other')", r3_), "string:other");  // null subject
  EXPECT_EQ(eval("case(cwtsbh when 'A-0001' then d * 2 else 0)"), "decimal:5");
}

TEST_F(ExpressionEval, InLists) {
  EXPECT_EQ(eval("cwtsbh in ('B0002', 'A-0001')"), "boolean:true");
  EXPECT_EQ(eval("cwtsbh in ('B0002')"), "boolean:false");
  EXPECT_EQ(eval("cwtsbh not in ('B0002')"), "boolean:true");
  EXPECT_EQ(eval("n in (1, 2, 3.0)"), "boolean:true");
  EXPECT_EQ(eval("n in (1, n + 1)"), "boolean:false");
  EXPECT_EQ(eval("s in ('x')", r2_), "null");
  EXPECT_EQ(eval("n in (1, d)", r1_), "boolean:false");
  EXPECT_EQ(eval("3 in (1, n)", r3_), "null");  // no match and a null item
  EXPECT_EQ(eval("3 in (3, n)", r3_), "boolean:true");
}

TEST_F(ExpressionEval, RowFunctionsAndArguments) {
  t_.set_current(2);
  EXPECT_EQ(eval("'记录数:'+currentRow()+'/'+rowcount()"), "string:记录数:2/3");
  EXPECT_EQ(eval("getrow()", r3_), "long:3");
  EXPECT_EQ(eval("getrow() = currentrow()", r2_), "boolean:true");
  EXPECT_EQ(eval("getrow()", kNoRow), "long:0");
  EXPECT_EQ(eval("bh = cwtsbh"), "boolean:true");
  EXPECT_EQ(eval("n", kNoRow), "null");  // objects outside the rows read null columns
}

TEST_F(ExpressionEval, AggregatesCoverThePrimaryBufferAndSkipNulls) {
  EXPECT_EQ(eval("sum(d for all)"), "decimal:12.5");
  EXPECT_EQ(eval("sum(n)"), "long:10");
  EXPECT_EQ(eval("sum(if(cwtsbh = 'B0002', d, 0) for all)"), "decimal:10");
  EXPECT_EQ(eval("count(n for all)"), "long:2");
  EXPECT_EQ(eval("count(cwtsbh for all)"), "long:3");
  EXPECT_EQ(eval("max(d)"), "decimal:10");
  EXPECT_EQ(eval("min(djsrq for all)"), "datetime:2024/03/05 14:30:00");
  EXPECT_EQ(eval("max(s for all)"), "string:记录数");
  EXPECT_EQ(eval("avg(d for all)"), "decimal:6.25");
  EXPECT_EQ(eval("n / sum(n for all)", r2_), "decimal:0.7");
  t_.set_primary({r3_});  // only a row of nulls passes the filter
  EXPECT_EQ(eval("sum(d for all)"), "decimal:0");
  EXPECT_EQ(eval("sum(n for all)"), "long:0");
  EXPECT_EQ(eval("max(d for all)"), "null");
  EXPECT_EQ(eval("avg(d for all)"), "null");
  EXPECT_EQ(eval("count(d for all)"), "long:0");
  EXPECT_EQ(eval("rowcount()"), "long:1");
}

TEST(ExpressionEvalGlobals, GlobalFunctionsGetEvaluatedArguments) {
  FunctionRegistry registry;
  std::vector<std::vector<std::string>> calls;
  registry.add("f_retu_para", 2, Type::String, [&calls](std::span<const Value> a) {
    calls.push_back({a[0].debug_string(), a[1].debug_string()});
    return Value(a[1].str() == "LXCHS" ? "1" : "0");
  });
  registry.add("f_bgfs", 1, Type::String, [](std::span<const Value> a) {
    return a[0].is_null() ? Value::null(Type::String) : Value(a[0].str() == "A-1" ? "1" : "0");
  });
  TestTable t(&registry);
  t.column("ngsf", Type::Decimal);
  t.argument("bh", Value("A-1"));
  RowId r = t.row({dec("120.5")});
  t.finish();
  EXPECT_EQ(show(t.eval("if (f_bgfs(bh)='0',ngsf,0)", r)), "long:0");
  EXPECT_EQ(show(t.eval("f_retu_para('SVC', 'LX' + 'CHS')", r)), "string:1");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], (std::vector<std::string>{"SVC", "LXCHS"}));
}

TEST(ExpressionEvalComputed, ComputedFieldsReadOtherComputedFields) {
  TestTable t;
  t.column("nysgsf", Type::Decimal);
  t.column("nyhhgsf", Type::Decimal);
  t.computed("compute_5", "nysgsf - nyhhgsf", Type::Decimal);
  t.computed("twice", "compute_5 * 2", Type::Decimal);
  RowId r = t.row({dec("100"), dec("80.5")});
  t.finish();
  EXPECT_EQ(show(t.eval("twice", r)), "decimal:39");
  // A visibility expression may read its own object's value.
  EXPECT_EQ(show(t.eval("if (( (1 = 2 ) ) or ( compute_5 = 0),0,1)", r)), "long:1");
}

}  // namespace
}  // namespace kq::dw::expr
