#include "functions/f_svc_upper_je.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/value/text.h"

namespace kq {
namespace {

std::string upper(const char* amount) { return f_svc_upper_je(*Decimal::parse(amount)).value_or("<null>"); }

TEST(UpperJe, EdgeCaseTable) {
  const std::pair<const char*, const char*> cases[] = {
      {"0", "零元整"},
      {"0.001", "零元整"},
      {"0.05", "零元零伍分"},
      {"0.5", "零元伍角"},
      {"1", " 壹元整"},
      {"10.5", " 壹拾元伍角"},
      {"20.07", " 贰拾元零柒分"},
      {"100.5", " 壹佰元伍角"},
      {"1001", " 壹仟零壹元整"},
      {"1010", " 壹仟零壹拾元整"},
      {"10010", " 壹万零壹拾元整"},
      {"100000", " 壹拾万整"},
      {"1000000", " 壹佰万整"},
      {"100000000", " 壹亿元整"},
      {"100000005", " 壹亿零伍元整"},
      {"200000000.01", " 贰亿元零壹分"},
      {"12345678.9", " 壹仟贰佰叁拾肆万伍仟陆佰柒拾捌元玖角"},
      {"1000000000000", " 壹万亿元整"},
      {"9999999999999.99", " 玖万玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"},
      {"-100", "负 壹佰元整"},
      {"-0.5", "负零元伍角"},
  };
  for (const auto& [amount, expected] : cases) EXPECT_EQ(upper(amount), expected) << amount;
}

TEST(UpperJe, RoundingOfAThirdDecimal) {
  EXPECT_EQ(upper("0.999"), "零壹元整");  // formats as 1.00 but was below one yuan
  EXPECT_EQ(upper("1.005"), " 壹元零壹分");
  EXPECT_EQ(upper("-1.005"), "负 壹元零壹分");
  EXPECT_EQ(upper("0.004"), "零元整");
}

TEST(UpperJe, NullAndOutOfRangeGiveNull) {
  EXPECT_FALSE(f_svc_upper_je(std::nullopt));
  EXPECT_FALSE(f_svc_upper_je(*Decimal::parse("10000000000000")));
  EXPECT_FALSE(f_svc_upper_je(*Decimal::parse("-10000000000000")));
  EXPECT_FALSE(f_svc_upper_je(*Decimal::parse("9999999999999.995")));  // rounds to fourteen digits
  EXPECT_FALSE(f_svc_upper_je(*Decimal::parse("1e20")));
  EXPECT_TRUE(f_svc_upper_je(*Decimal::parse("9999999999999.994")));
}

// Properties over many amounts with two decimals, in every magnitude.
TEST(UpperJe, PropertiesOverGeneratedAmounts) {
  std::mt19937_64 rng(309);
  for (int i = 0; i < 200000; ++i) {
    int digits = static_cast<int>(rng() % 15);  // 0..14 integer digits, then cents
    long long cents = 0;
    for (int k = 0; k < digits; ++k) {
      // bias towards zeros so that runs of zeros and section boundaries are common
      int d = rng() % 3 == 0 ? static_cast<int>(rng() % 10) : 0;
      if (k == 0 && digits > 0) d = 1 + static_cast<int>(rng() % 9);
      cents = cents * 10 + d;
    }
    cents = cents * 100 + static_cast<long long>(rng() % 4 == 0 ? rng() % 100 : (rng() % 2) * 50);
    if (cents >= 1000000000000000LL) cents %= 1000000000000000LL;
    bool negative = rng() % 5 == 0;
    Decimal amount = Decimal::from_raw(static_cast<Decimal::Raw>(negative ? -cents : cents) * (Decimal::kOne / 100));
    auto result = f_svc_upper_je(amount);
    ASSERT_TRUE(result) << amount.to_string();
    const std::string& r = *result;
    std::string body = negative && cents != 0 ? r.substr(std::string("负").size()) : r;
    SCOPED_TRACE(amount.to_string() + " -> " + r);
    bool whole = cents % 100 == 0;
    EXPECT_EQ(r.size() >= 3 && r.compare(r.size() - 3, 3, "整") == 0, whole);
    EXPECT_EQ(r.find("零零"), std::string::npos);
    EXPECT_EQ(r.find("负") != std::string::npos, negative && cents != 0);
    EXPECT_EQ(!body.empty() && body[0] == ' ', cents >= 100);
    EXPECT_EQ(r.find("零万"), std::string::npos);
    EXPECT_EQ(r.find("零亿"), std::string::npos);
    EXPECT_EQ(r.find("零元"), cents < 100 ? r.find("零元") : std::string::npos);
    EXPECT_TRUE(text::is_valid_utf8(r));
  }
}

}  // namespace
}  // namespace kq
