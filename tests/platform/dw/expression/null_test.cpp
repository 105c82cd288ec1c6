// Null propagation: arithmetic, joining, comparison and functions give null
// when an operand is null; and/or/not follow three-valued logic; if() takes
// the false branch on a null condition; isnull() sees the null.
#include <gtest/gtest.h>

#include "support/case_names.h"
#include "test_table.h"

namespace kq::dw::expr {
namespace {

using testing::dec;
using testing::show;
using testing::TestTable;

struct Case {
  const char* text;
  const char* expected;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.text << " -> " << c.expected; }

class ExpressionNull : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    t_.column("n", Type::Long);       // null
    t_.column("d", Type::Decimal);    // null
    t_.column("s", Type::String);     // null
    t_.column("dt", Type::DateTime);  // null
    t_.column("one", Type::Long);     // 1
    t_.column("txt", Type::String);   // "a"
    t_.row({Value::null(Type::Long), Value::null(Type::Decimal), Value::null(Type::String),
            Value::null(Type::DateTime), 1, "a"});
    t_.finish();
  }
  TestTable t_;
};

TEST_P(ExpressionNull, Table) {
  const Case& c = GetParam();
  EXPECT_EQ(show(t_.eval(c.text, 0)), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Expression, ExpressionNull,
    ::testing::Values(
        // arithmetic and joining
        Case{"n + 1", "null"}, Case{"1 - d", "null"}, Case{"d * 2.5", "null"}, Case{"n / 1", "null"},
        Case{"-n", "null"}, Case{"s + 'x'", "null"}, Case{"'x' + n", "null"}, Case{"txt + s", "null"},
        // comparisons, both sides and both specialised and general forms
        Case{"n = 1", "null"}, Case{"1 <> n", "null"}, Case{"d < 2.5", "null"}, Case{"s = 'a'", "null"},
        Case{"s <> 'a'", "null"}, Case{"s >= txt", "null"}, Case{"dt > dt", "null"}, Case{"n = n", "null"},
        Case{"s in ('a', 'b')", "null"}, Case{"s not in ('a')", "null"}, Case{"txt in ('b', s)", "null"},
        Case{"txt in ('a', s)", "boolean:true"},
        // three-valued logic
        Case{"n = 1 and one = 1", "null"}, Case{"n = 1 and one = 0", "boolean:false"},
        Case{"one = 0 and n = 1", "boolean:false"}, Case{"n = 1 or one = 1", "boolean:true"},
        Case{"one = 1 or n = 1", "boolean:true"}, Case{"n = 1 or one = 0", "null"},
        Case{"not (n = 1)", "null"}, Case{"not (n = 1) or true", "boolean:true"},
        // choices
        Case{"if(n = 1, 'yes', 'no')", "string:no"}, Case{"if(not (n = 1), 'yes', 'no')", "string:no"},
        Case{"if(one = 1, n, 0)", "null"}, Case{"case(n when 1 then 'a' else 'b')", "string:b"},
        Case{"case(one when n then 'a' else 'b')", "string:b"}, Case{"case(one when 2 then 'a')", "null"},
        // functions
        Case{"left(s, 1)", "null"}, Case{"left(txt, n)", "null"}, Case{"len(s)", "null"},
        Case{"string(n)", "null"}, Case{"string(d, '#,##0.00')", "null"}, Case{"round(d, 2)", "null"},
        Case{"abs(n)", "null"}, Case{"long(s)", "null"}, Case{"date(dt)", "null"}, Case{"trim(s)", "null"},
        Case{"isnull(n)", "boolean:true"}, Case{"isnull(one)", "boolean:false"},
        Case{"isnull(n + 1) and isnull(s + 'x')", "boolean:true"},
        // aggregates skip nulls
        Case{"sum(n for all)", "long:0"}, Case{"count(n for all)", "long:0"}, Case{"max(s for all)", "null"}),
    kq::testing::name_cases<Case>([](const Case& c) { return std::string(c.text); }));

}  // namespace
}  // namespace kq::dw::expr
