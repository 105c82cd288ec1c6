// Values through the embedded database: decimals exact through REAL,
// datetimes as ISO text with the absent date, a large blob.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "txn_test_support.h"

namespace kq::db {
namespace {

Decimal dec(const char* s) { return *Decimal::parse(s); }

class TransactionDecimal : public testing::TxnTest {
 protected:
  void SetUp() override {
    TxnTest::SetUp();
    must("insert into svcb20c (cwtsbh, cgsh) values ('W1', '01')");
  }
  Dec read(const char* expr) {
    Dec v;
    must(std::string("select ") + expr + " into :v from svcb20c where cwtsbh = 'W1'", {{"v", out(v)}});
    return v;
  }
};

TEST_F(TransactionDecimal, SumOfTenthsIsExact) {
  // 0.1 + 0.2 in binary floating point is 0.30000000000000004.
  must("update svcb20c set nysgsf = :a, nyhhgsf = :b where cwtsbh = 'W1'", {{"a", dec("0.1")}, {"b", dec("0.2")}});
  EXPECT_EQ(read("nysgsf + nyhhgsf"), dec("0.3"));
  must("update svcb20c set nhjje = nysgsf + nyhhgsf where cwtsbh = 'W1'");
  EXPECT_EQ(read("nhjje"), dec("0.3"));
  Dec view;
  must("select nsum into :s from v_svc300_01 where cwtsbh = 'W1'", {{"s", out(view)}});
  EXPECT_EQ(view, dec("0.3"));
}

TEST_F(TransactionDecimal, AmountsAndUnitPricesRoundTrip) {
  for (const char* s : {"9999999999999.99", "-9999999999999.99", "0.01", "1234567.89", "0"}) {
    must("update svcb20c set nhjje = :v where cwtsbh = 'W1'", {{"v", dec(s)}});
    EXPECT_EQ(read("nhjje"), dec(s)) << s;
  }
  for (const char* s : {"123456.123456", "0.000001", "99999999.999999"}) {
    must("insert into spab02d (cdydbh, cbjdm, nrcdj, cgsh) values ('W1', :bj, :p, '01')", {{"bj", s}, {"p", dec(s)}});
    Dec back;
    must("select nrcdj into :p from spab02d where cbjdm = :bj", {{"bj", s}, {"p", out(back)}});
    EXPECT_EQ(back, dec(s)) << s;
  }
  // Stored into a two-place column, a value is rounded half away from zero on
  // its decimal value (1.005 as a double is 1.00499999999999989...); a text
  // that spells a number is stored as that number.
  using Pairs = std::initializer_list<std::pair<const char*, const char*>>;
  for (auto [in, expected] : Pairs{{"1.005", "1.01"}, {"-2.675", "-2.68"}, {"0.004", "0"}}) {
    must("update svcb20c set nhjje = :v where cwtsbh = 'W1'", {{"v", dec(in)}});
    EXPECT_EQ(read("nhjje"), dec(expected)) << in;
  }
  must("update svcb20c set nhjje = :v where cwtsbh = 'W1'", {{"v", "12.345"}});
  EXPECT_EQ(read("nhjje"), dec("12.35"));
  EXPECT_EQ(read("typeof(nhjje) = 'real'"), Decimal(1));
}

TEST_F(TransactionDecimal, TaxUpdateGivesTheDecimalServersCents) {
  // The exact products end in a half cent, which a decimal server rounds up;
  // the binary products of the first three lie just below it.
  using Cases = std::initializer_list<std::tuple<const char*, const char*, const char*>>;
  for (auto [fee, rate, expected] : Cases{{"1234.50", "13", "1394.99"}, {"100.50", "17", "117.59"},
                                          {"0.50", "13", "0.57"}, {"10.05", "6", "10.65"},
                                          {"-1234.50", "13", "-1394.99"}, {"9999999.99", "13", "11299999.99"}}) {
    must("update svcb20c set nyhhgsf = :f where cwtsbh = 'W1'", {{"f", dec(fee)}});
    must("update svcb20c set nssgsf = case :ls_xchs when '1' then nyhhgsf else nyhhgsf *( 1 + :ldc_gssl / 100 ) end "
         "where cwtsbh = 'W1'",
         {{"ls_xchs", "0"}, {"ldc_gssl", Dec(dec(rate))}});
    EXPECT_EQ(read("nssgsf"), dec(expected)) << fee << " * (1 + " << rate << " / 100)";
  }
}

class TransactionDateTime : public testing::TxnTest {
 protected:
  Dt store_and_read(const Value& v) {
    must("update svcb20c set djsrq = :d where cwtsbh = 'W1'", {{"d", v}});
    Dt back;
    must("select djsrq into :d from svcb20c where cwtsbh = 'W1'", {{"d", out(back)}});
    return back;
  }
};

TEST_F(TransactionDateTime, TextsAndDatesAreStoredAsIsoText) {
  must("insert into svcb20c (cwtsbh, djsrq, cgsh) values ('W1', :d, '01')", {{"d", ""}});
  Dt back;
  must("select djsrq into :d from svcb20c where cwtsbh = 'W1'", {{"d", out(back)}});
  EXPECT_EQ(back->to_string(), "1900/01/01 00:00:00");
  EXPECT_EQ(store_and_read("2024/01/02"), DateTime::from_parts(2024, 1, 2));
  EXPECT_EQ(store_and_read("1900/01/01"), DateTime::absent());
  EXPECT_EQ(store_and_read("   "), DateTime::absent());
  EXPECT_EQ(store_and_read("2024/3/5 8:09"), DateTime::from_parts(2024, 3, 5, 8, 9, 0));
  const DateTime eve = *DateTime::from_parts(1999, 12, 31, 23, 59, 59);
  EXPECT_EQ(store_and_read(eve), eve);
  Str w;
  must("select cwtsbh into :w from svcb20c where djsrq = :d", {{"d", eve}, {"w", out(w)}});
  EXPECT_EQ(w, "W1") << "a bound DateTime compares equal to the stored text";
  must("commit");
  EXPECT_EQ(testing::query_file(files.shop(), "select djsrq from svcb20c"), "1999-12-31 23:59:59");
}

TEST_F(TransactionDateTime, TextThatIsNoDateFails) {
  must("insert into svcb20c (cwtsbh, cgsh) values ('W1', '01')");
  for (const char* bad : {"2024/02/30", "tomorrow"}) {
    EXPECT_EQ(sqlca.exec("update svcb20c set djsrq = :d where cwtsbh = 'W1'", {{"d", bad}}), -1) << bad;
    EXPECT_NE(sqlca.sqlerrtext.find(bad), std::string::npos) << sqlca.sqlerrtext;
  }
  Dt back;
  must("select djsrq into :d from svcb20c where cwtsbh = 'W1'", {{"d", out(back)}});
  EXPECT_EQ(back, DateTime::absent()) << "the column keeps its value";
}

TEST(TransactionBlob, LargeBlobRoundTrip) {
  testing::DbFiles files;
  Transaction sqlca, other;
  ASSERT_TRUE(sqlca.connect(files.options()).ok());
  ASSERT_TRUE(other.connect(files.options()).ok());
  std::string bytes(6 * 1024 * 1024 + 7, '\0');
  uint32_t x = 12345;
  for (auto& c : bytes) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
  const DateTime key = *DateTime::from_parts(2024, 1, 1, 10, 0, 0);
  ASSERT_EQ(sqlca.exec("insert into svcb61 (cwtsbh, ddate, cgsh) values ('W1', :d, '01')", {{"d", key}}), 0);
  ASSERT_EQ(sqlca.exec("updateblob svcb61 set cblob = :b where ddate = :d and cgsh = :g",
                       {{"b", Blob{bytes}}, {"d", key}, {"g", "01"}}),
            0)
      << sqlca.sqlerrtext;
  ASSERT_EQ(sqlca.commit(), 0);
  std::optional<Blob> back;
  ASSERT_EQ(other.exec("selectblob cblob into :b from svcb61 where cwtsbh = :w", {{"w", "W1"}, {"b", out(back)}}), 0)
      << other.sqlerrtext;
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->bytes.size(), bytes.size());
  EXPECT_TRUE(back->bytes == bytes);
}

}  // namespace
}  // namespace kq::db
