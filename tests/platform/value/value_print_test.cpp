// What a failing check shows of a value: its text and type, never its bytes.
#include <gtest/gtest.h>

#include "platform/value/value.h"

namespace kq {
namespace {

using ::testing::PrintToString;

TEST(ValuePrinting, FailuresShowTheValueAndItsType) {
  EXPECT_EQ(PrintToString(*Decimal::parse("1234.50")), "1234.5");
  EXPECT_EQ(PrintToString(*Decimal::parse("-0.05")), "-0.05");
  EXPECT_EQ(PrintToString(*DateTime::parse("2026/12/08 09:05:01")), "2026/12/08 09:05:01");
  EXPECT_EQ(PrintToString(Value(*Decimal::parse("12.5"))), "decimal 12.5");
  EXPECT_EQ(PrintToString(Value(12)), "long 12");
  EXPECT_EQ(PrintToString(Value("结算单")), "string \"结算单\"");
  EXPECT_EQ(PrintToString(Value(true)), "boolean " + Value(true).debug_string());
  EXPECT_EQ(PrintToString(Value(*DateTime::parse("2026/12/08"))), "datetime 2026/12/08 00:00:00");
  EXPECT_EQ(PrintToString(Value::null(Type::Decimal)), "null decimal");
  EXPECT_EQ(PrintToString(Value()), "null any");
  EXPECT_EQ(PrintToString(Value(Blob{"abc"})), "blob of 3 bytes");
  // A text and a number that read alike stay apart.
  EXPECT_NE(PrintToString(Value("12")), PrintToString(Value(12)));
  // Null-able variables of window code.
  EXPECT_EQ(PrintToString(Dec(*Decimal::parse("3"))), "(3)");
  EXPECT_EQ(PrintToString(Dec()), "(nullopt)");
}

}  // namespace
}  // namespace kq
