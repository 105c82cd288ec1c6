#include "platform/value/format.h"

#include <gtest/gtest.h>

namespace kq {
namespace {

Decimal D(const char* s) { return *Decimal::parse(s); }

struct NumberCase {
  const char* value;
  const char* mask;
  const char* expected;
};

TEST(Format, NumberMasksOfTheModule) {
  const NumberCase cases[] = {
      {"0", "#,###.00", ".00"},               // no required integer digit: the cancellation log relies on it
      {"1234.5", "#,###.00", "1,234.50"},
      {"1234567.891", "#,###.00", "1,234,567.89"},
      {"-1234.5", "#,###.00", "-1,234.50"},
      {"0.5", "#,###.00", ".50"},
      {"2.675", "###,##0.00", "2.68"},        // third decimal rounds half away from zero
      {"-2.675", "###,##0.00", "-2.68"},
      {"0", "###,##0.00", "0.00"},
      {"-0.004", "###,##0.00", "0.00"},       // rounds to zero: no sign
      {"123456.7", "##,###,###.00", "123,456.70"},
      {"0", "##,###,###.00", ".00"},
      {"9999999999999.99", "###,###,##0.00", "9,999,999,999,999.99"},
      {"1000", "#,###,###,##0.00", "1,000.00"},
      {"-5", "###,###,###,##0.00", "-5.00"},
      {"0.87", "#0.00", "0.87"},
      {"1234.5", "#0.00", "1234.50"},
      {"12.34567", "###0.0000", "12.3457"},
      {"3", "#", "3"},
      {"2.5", "#", "3"},
      {"1234.5", "[general]", "1234.5"},
      {"-3", "#,##0.00;(#,##0.00)", "(3.00)"},
      {"0", "#,##0.00;-#,##0.00;零", "零"},
  };
  for (const auto& c : cases) EXPECT_EQ(format::number(D(c.value), c.mask), c.expected) << c.value << " " << c.mask;
}

TEST(Format, DateMasksOfTheModule) {
  DateTime d = *DateTime::parse("2026/03/07 09:05:02");
  EXPECT_EQ(format::datetime(d, "yyyy/mm/dd"), "2026/03/07");
  EXPECT_EQ(format::datetime(d, "yyyy/mm/dd hh:mm"), "2026/03/07 09:05");
  EXPECT_EQ(format::datetime(d, "YYYY/MM/DD HH:MM"), "2026/03/07 09:05");
  EXPECT_EQ(format::datetime(d, "yyyy/mm/dd hh:mm:ss"), "2026/03/07 09:05:02");
  EXPECT_EQ(format::datetime(d, "yyyy年mm月dd日"), "2026年03月07日");
  EXPECT_EQ(format::datetime(d, "[general]"), "2026/03/07 09:05:02");
  EXPECT_EQ(format::datetime(d, "yy-m-d h:mm"), "26-3-7 9:05");
}

TEST(Format, AnyValueWithNullAndText) {
  EXPECT_EQ(format::value(Value(), "#,###.00"), "");
  EXPECT_EQ(format::value(Value::null(Type::DateTime), "yyyy/mm/dd"), "");
  EXPECT_EQ(format::value(Value(1234), "#,###.00"), "1,234.00");
  EXPECT_EQ(format::value(Value("A-0001"), "#,###.00"), "A-0001");
  EXPECT_EQ(format::value(Value(*DateTime::parse("2026/12/08")), ""), "2026/12/08 00:00:00");
  EXPECT_EQ(format::general(Value(D("12.50"))), "12.5");
}

}  // namespace
}  // namespace kq
