#include <gtest/gtest.h>

#include "platform/value/text.h"
#include "platform/value/value.h"

namespace kq {
namespace {

TEST(Text, CountsCharactersNotBytes) {
  const std::string s = "A-保险结算单";
  EXPECT_EQ(text::len(s), 7u);
  EXPECT_EQ(text::left(s, 2), "A-");
  EXPECT_EQ(text::left(s, 4), "A-保险");
  EXPECT_EQ(text::right(s, 3), "结算单");
  EXPECT_EQ(text::mid(s, 3, 2), "保险");
  EXPECT_EQ(text::mid(s, 5), "结算单");
  EXPECT_EQ(text::mid(s, 20), "");
  EXPECT_EQ(text::pos(s, "结"), 5u);
  EXPECT_EQ(text::pos("1@2@3", "@", 3), 4u);
  EXPECT_EQ(text::pos(s, "x"), 0u);
  EXPECT_EQ(text::left(s, 100), s);
}

TEST(Text, TrimRemovesBlanksButKeepsFullWidthSpace) {
  EXPECT_EQ(text::trim("  a b \t\r\n"), "a b");
  EXPECT_EQ(text::trim("班组代码　"), "班组代码　");
  EXPECT_EQ(text::trim("   "), "");
  EXPECT_EQ(text::ltrim("  x "), "x ");
  EXPECT_EQ(text::rtrim("  x "), "  x");
}

TEST(Text, CaseIsIgnoredForAsciiLettersOnly) {
  EXPECT_TRUE(text::iequals("LsyGsgl", "lsygsgl"));
  EXPECT_TRUE(text::iequals("SeLeCt", "select"));
  EXPECT_FALSE(text::iequals("selects", "select"));
  EXPECT_FALSE(text::iequals("selec", "select"));
  EXPECT_FALSE(text::iequals("Ａ", "ａ"));  // full-width letters are other characters
  EXPECT_TRUE(text::iequals("委托书A", "委托书a"));
  EXPECT_EQ(text::lower(":LS_GSH"), ":ls_gsh");
  EXPECT_EQ(text::lower("Ａ委托Z"), "Ａ委托z");
}

TEST(Text, Utf8Validation) {
  EXPECT_TRUE(text::is_valid_utf8("结算单 ok"));
  EXPECT_FALSE(text::is_valid_utf8("\xB7\xA2"));      // GBK bytes
  EXPECT_FALSE(text::is_valid_utf8("\xE7\xBB"));      // truncated
  EXPECT_FALSE(text::is_valid_utf8("\xC0\xAF"));      // overlong
}

TEST(Text, InvalidBytesBecomeReplacementCharacters) {
  const std::string fffd = "\xEF\xBF\xBD";
  struct Case {
    const char* name;
    std::string in, out;
  } cases[] = {
      {"valid text unchanged", "结算单 ok", "结算单 ok"},
      {"GBK name between UTF-8", "张\xD5\xC5三", "张" + fffd + fffd + "三"},
      {"sequence cut at the end", "ab\xE7\xBB", "ab" + fffd + fffd},
      {"overlong slash", "\xC0\xAF/", fffd + fffd + "/"},
      {"surrogate", "\xED\xA0\x80x", fffd + fffd + fffd + "x"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},
      {"four-byte character kept", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    const std::string repaired = text::valid_utf8(c.in);
    EXPECT_EQ(repaired, c.out) << c.name;
    EXPECT_TRUE(text::is_valid_utf8(repaired)) << c.name;
  }
}

TEST(Value, NullPropagatesThroughArithmeticAndComparison) {
  Value null;
  EXPECT_TRUE(add(Value(1), null).is_null());
  EXPECT_TRUE(multiply(null, Value(Decimal(2))).is_null());
  EXPECT_FALSE(compare(null, Value(0)).has_value());
  EXPECT_FALSE(compare(null, null).has_value());
  EXPECT_TRUE(divide(Value(1), Value(0)).is_null());
}

TEST(Value, MixedNumbersCompareAndComputeByValue) {
  EXPECT_EQ(*compare(Value(2), Value(*Decimal::parse("2.00"))), 0);
  EXPECT_EQ(*compare(Value(*Decimal::parse("1.5")), Value(2)), -1);
  EXPECT_EQ(add(Value(2), Value(3)), Value(5));
  EXPECT_EQ(add(Value(2), Value(*Decimal::parse("0.5"))), Value(*Decimal::parse("2.5")));
  EXPECT_EQ(divide(Value(1), Value(4)), Value(*Decimal::parse("0.25")));
  EXPECT_EQ(add(Value("记录数:"), Value("3")), Value("记录数:3"));
  EXPECT_EQ(*compare(Value(*DateTime::parse("2026/12/08")), Value("2026/12/08")), 0);
  EXPECT_FALSE(compare(Value("abc"), Value(1)).has_value());
}

TEST(Value, TypedNullsAndConversions) {
  Str none;
  Value v(none);
  EXPECT_TRUE(v.is_null());
  EXPECT_EQ(v.type(), Type::String);
  EXPECT_EQ(Value(Dec(Decimal(3))).type(), Type::Decimal);
  EXPECT_EQ(*Value("12.50").as_decimal(), *Decimal::parse("12.5"));
  EXPECT_EQ(*Value(*Decimal::parse("12.9")).as_long(), 12);
  EXPECT_FALSE(Value("x12").as_decimal());
  EXPECT_EQ(Value("2026/12/08 10:00:00").converted_to(Type::DateTime)->dt().hour(), 10);
  EXPECT_FALSE(Value("not a date").converted_to(Type::DateTime));
  EXPECT_TRUE(Value().converted_to(Type::Decimal)->is_null());
}

}  // namespace
}  // namespace kq
