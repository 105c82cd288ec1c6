#include "platform/value/decimal.h"

#include <gtest/gtest.h>

#include <random>

namespace kq {
namespace {

Decimal D(const char* s) { return *Decimal::parse(s); }

TEST(Decimal, ParsesAndPrintsShortestExactText) {
  EXPECT_EQ(D("1234.50").to_string(), "1234.5");
  EXPECT_EQ(D("-0.05").to_string(), "-0.05");
  EXPECT_EQ(D("  +7 ").to_string(), "7");
  EXPECT_EQ(D("1.5e3").to_string(), "1500");
  EXPECT_EQ(D("9999999999999.99").to_string(), "9999999999999.99");
  EXPECT_EQ(D("0.00000000005").to_string(), "0.0000000001");  // eleventh place rounds half away from zero
  for (const char* bad : {"", "abc", "1.2.3", "--1", "1e", "1,000", ".", "1 2"}) EXPECT_FALSE(Decimal::parse(bad)) << bad;
}

TEST(Decimal, RoundsHalfAwayFromZero) {
  EXPECT_EQ(D("2.675").round(2), D("2.68"));
  EXPECT_EQ(D("-2.675").round(2), D("-2.68"));
  EXPECT_EQ(D("2.674").round(2), D("2.67"));
  EXPECT_EQ(D("0.005").to_fixed(2), "0.01");
  EXPECT_EQ(D("-0.004").to_fixed(2), "0.00");
  EXPECT_EQ(D("1234.5").to_fixed(2), "1234.50");
  EXPECT_EQ(D("7.9").truncate(0), D("7"));
}

TEST(Decimal, ArithmeticIsExactWhereBinaryFloatingPointIsNot) {
  EXPECT_EQ(D("0.1") + D("0.2"), D("0.3"));
  EXPECT_EQ(*Decimal::multiply(D("9999999999999.99"), D("1.13")), D("11299999999999.9887"));
  EXPECT_EQ(*Decimal::multiply(D("123.456789"), D("1000000")), D("123456789"));
  // A quotient keeps ten places and rounds the eleventh.
  EXPECT_EQ(*Decimal::divide(D("113"), D("1.13")), D("100"));
  EXPECT_EQ(Decimal::divide(D("1"), D("3"))->to_string(), "0.3333333333");
  EXPECT_EQ(Decimal::divide(D("2"), D("3"))->to_string(), "0.6666666667");
  EXPECT_FALSE(Decimal::divide(D("1"), D("0")));
  // Products of amounts of the largest size still fit.
  EXPECT_EQ(*Decimal::multiply(D("9999999999999.99"), D("9999999999999.99")), D("99999999999999800000000000.0001"));
}

TEST(Decimal, DoubleRoundTripOfDatabaseValues) {
  for (const char* s : {"0.1", "1234.56", "9999999999999.99", "-0.05", "123.456789", "0"}) {
    Decimal d = D(s);
    EXPECT_EQ(*Decimal::from_double(d.to_double()), d) << s;
  }
  EXPECT_EQ(*Decimal::from_double(0.1 + 0.2), D("0.3"));
}

TEST(Decimal, RandomSumsAndProductsAgreeWithIntegerArithmetic) {
  std::mt19937_64 rng(42);
  std::uniform_int_distribution<long long> cents(-99999999999999LL, 99999999999999LL);
  for (int i = 0; i < 2000; ++i) {
    long long a = cents(rng), b = cents(rng);
    Decimal x = Decimal::from_raw(static_cast<Decimal::Raw>(a) * (Decimal::kOne / 100));
    Decimal y = Decimal::from_raw(static_cast<Decimal::Raw>(b) * (Decimal::kOne / 100));
    EXPECT_EQ((x + y).raw(), static_cast<Decimal::Raw>(a + b) * (Decimal::kOne / 100));
    EXPECT_EQ((x - y).round(2), x - y);
    Decimal back = *Decimal::divide(*Decimal::multiply(x, Decimal(7)), Decimal(7));
    EXPECT_EQ(back, x);
  }
}

}  // namespace
}  // namespace kq
