// sqlcode, sqlerrtext and sqlnrows of each statement kind; host variables.
#include <gtest/gtest.h>

#include "txn_test_support.h"

namespace kq::db {
namespace {

class TransactionSqlcode : public testing::TxnTest {
 protected:
  void SetUp() override {
    TxnTest::SetUp();
    must("insert into svcb20c (cwtsbh, cwxzt, nhjje, cgsh) values ('W1', '1', 100, '01')");
    must("insert into svcb20c (cwtsbh, cwxzt, nhjje, cgsh) values ('W2', '2', 200, '01')");
    must("commit");
  }
};

TEST_F(TransactionSqlcode, SelectInto) {
  Str zt;
  EXPECT_EQ(sqlca.exec("select cwxzt into :zt from svcb20c where cwtsbh = :w", {{"w", "W2"}, {"zt", out(zt)}}), 0);
  EXPECT_EQ(zt, "2");
  EXPECT_EQ(sqlca.sqlnrows, 1);
  zt = "keep";
  EXPECT_EQ(sqlca.exec("select cwxzt into :zt from svcb20c where cwtsbh = :w", {{"w", "W9"}, {"zt", out(zt)}}), 100);
  EXPECT_EQ(sqlca.exec("select cwxzt into :zt from svcb20c where cgsh = '01'", {{"zt", out(zt)}}), -1);
  EXPECT_EQ(sqlca.sqlerrtext, "Select returned more than one row");
  EXPECT_EQ(sqlca.exec("select nosuchcolumn into :zt from svcb20c", {{"zt", out(zt)}}), -1);
  EXPECT_NE(sqlca.sqlerrtext.find("nosuchcolumn"), std::string::npos) << sqlca.sqlerrtext;
  EXPECT_NE(sqlca.sqldbcode, 0);
  EXPECT_EQ(zt, "keep") << "no row, two rows and an error leave the variable as it was";
  // The next statement clears the error fields.
  EXPECT_EQ(sqlca.exec("select cwxzt into :zt from svcb20c where cwtsbh = 'W1'", {{"zt", out(zt)}}), 0);
  EXPECT_EQ(sqlca.sqlerrtext, "");
  EXPECT_EQ(sqlca.sqldbcode, 0);
}

TEST_F(TransactionSqlcode, InsertUpdateDelete) {
  EXPECT_EQ(sqlca.exec("insert into svcb20c (cwtsbh, cgsh) values (:w, '01')", {{"w", "W3"}}), 0);
  EXPECT_EQ(sqlca.sqlnrows, 1);
  EXPECT_EQ(sqlca.exec("insert into svcb20c (cwtsbh, cgsh) values (:w, '01')", {{"w", "W3"}}), -1);
  EXPECT_NE(sqlca.sqlerrtext.find("UNIQUE"), std::string::npos) << sqlca.sqlerrtext;
  const char* copy = "insert into sysb13 (cbs, cdydjh, cgsh) select '3', cwtsbh, cgsh from svcb20c where cwxzt = :z";
  EXPECT_EQ(sqlca.exec(copy, {{"z", "1"}}), 0);
  EXPECT_EQ(sqlca.exec(copy, {{"z", "9"}}), 100) << "INSERT ... SELECT of no row";

  EXPECT_EQ(sqlca.exec("update svcb20c set cwxzt = '0' where cgsh = :g", {{"g", "01"}}), 0);
  EXPECT_EQ(sqlca.sqlnrows, 3);
  EXPECT_EQ(sqlca.exec("update svcb20c set cwxzt = '0' where cwtsbh = :w", {{"w", "nope"}}), 100);
  EXPECT_EQ(sqlca.sqlnrows, 0);
  EXPECT_EQ(sqlca.exec("update svcb20c set cwtsbh = null where cwtsbh = :w", {{"w", "W1"}}), -1);

  EXPECT_EQ(sqlca.exec("delete svcb20c where cwtsbh = :w", {{"w", "W1"}}), 0);
  EXPECT_EQ(sqlca.exec("delete from svcb20c where cwtsbh = :w", {{"w", "W1"}}), 100);
  EXPECT_EQ(sqlca.exec("delete from nosuchtable where cwtsbh = :w", {{"w", "W1"}}), -1);
}

TEST_F(TransactionSqlcode, BlobStatements) {
  must("insert into svcb61 (cwtsbh, ddate, cgsh) values ('W1', '2024/05/06', '01')");
  EXPECT_EQ(sqlca.exec("updateblob svcb61 set cblob = :b where cwtsbh = :w", {{"b", Blob{"abc"}}, {"w", "W1"}}), 0);
  EXPECT_EQ(sqlca.exec("updateblob svcb61 set cblob = :b where cwtsbh = :w", {{"b", Blob{"x"}}, {"w", "W9"}}), 100);
  Blob got;
  const char* select = "selectblob cblob into :b from svcb61 where cwtsbh = :w";
  EXPECT_EQ(sqlca.exec(select, {{"w", "W1"}, {"b", out(got)}}), 0);
  EXPECT_EQ(got.bytes, "abc");
  EXPECT_EQ(sqlca.exec(select, {{"w", "W9"}, {"b", out(got)}}), 100);
  EXPECT_EQ(got.bytes, "abc");
  // An empty blob stays an empty blob, not NULL.
  must("updateblob svcb61 set cblob = :b where cwtsbh = 'W1'", {{"b", Blob{}}});
  std::optional<Blob> empty;
  must(select, {{"w", "W1"}, {"b", out(empty)}});
  ASSERT_TRUE(empty.has_value());
  EXPECT_TRUE(empty->bytes.empty());
}

TEST_F(TransactionSqlcode, CommitAndRollbackAsText) {
  must("update svcb20c set cwxzt = '0' where cwtsbh = 'W1'");
  EXPECT_EQ(sqlca.exec("rollback"), 0);
  EXPECT_FALSE(sqlca.in_transaction());
  must("update svcb20c set cwxzt = '5' where cwtsbh = 'W2'");
  EXPECT_EQ(sqlca.exec("commit"), 0);
  EXPECT_FALSE(sqlca.in_transaction());
  EXPECT_EQ(testing::query_file(files.shop(), "select group_concat(cwxzt) from svcb20c"), "1,5");
  EXPECT_EQ(sqlca.commit(), 0) << "nothing open";
  EXPECT_EQ(sqlca.rollback(), 0);
}

class TransactionHostVars : public testing::TxnTest {};

TEST_F(TransactionHostVars, MissingVariableIsNamedAndNothingRuns) {
  const char* ins = "insert into svcb20c (cwtsbh, cwxzt, cgsh) values (:ls_wtsbh, :ls_zt, '01')";
  EXPECT_EQ(sqlca.exec(ins, {{"ls_wtsbh", "W1"}}), -1);
  EXPECT_NE(sqlca.sqlerrtext.find("ls_zt"), std::string::npos) << sqlca.sqlerrtext;
  EXPECT_FALSE(sqlca.in_transaction()) << "refused before it runs: no unit of work opened";
  const char* sel = "select cwxzt into :ls_out from svcb20c where cwtsbh = :w";
  EXPECT_EQ(sqlca.exec(sel, {{"w", "W1"}}), -1);
  EXPECT_NE(sqlca.sqlerrtext.find("ls_out"), std::string::npos) << sqlca.sqlerrtext;
  EXPECT_EQ(sqlca.exec(sel, {{"w", "W1"}, {"ls_out", "an input"}}), -1) << "INTO needs out()";
  // Names are case-insensitive and may carry the colon; a cached text rebinds each run.
  for (std::string w : {"W1", "W2"}) must(ins, {{"LS_WTSBH", w}, {":Ls_Zt", w == "W1" ? "1" : "2"}});
  Str zt;
  must("select cwxzt into :LS_OUT from svcb20c where cwtsbh = :w", {{"W", "W2"}, {"ls_out", out(zt)}});
  EXPECT_EQ(zt, "2");
}

TEST_F(TransactionHostVars, QuotesAndSqlInValuesStayData) {
  const std::string evil = "x'); delete from svcb20c; --", quoted = "O'Brien \"said\" ''hi''";
  must("insert into svcb20c (cwtsbh, cgsh, cbz) values ('W1', '01', :a)", {{"a", evil}});
  must("insert into svcb20c (cwtsbh, cgsh, cbz) values ('W2', '01', :a)", {{"a", quoted}});
  Str a, b;
  must("select cbz into :a from svcb20c where cwtsbh = 'W1'", {{"a", out(a)}});
  must("select cbz into :a from svcb20c where cbz = :q", {{"q", quoted}, {"a", out(b)}});
  EXPECT_EQ(a, evil);
  EXPECT_EQ(b, quoted);
  EXPECT_EQ(sqlca.exec("update svcb20c set cwxzt = '9' where cwtsbh = :w", {{"w", "W1' or '1' = '1"}}), 100);
}

TEST_F(TransactionHostVars, InputsAndOutputsOfEveryType) {
  Str ls = "W1";
  Long ll = 42;
  Dec ldc = Decimal::parse("1234.5");
  Dt ldt = DateTime::from_parts(2024, 3, 5, 14, 30, 0);
  must("insert into svcb20c (cwtsbh, id, nhjje, djsrq, cwxzt, lcwskwb, cgsh) values (:a, :b, :c, :d, '1', :f, :g)",
       {{"a", ls}, {"b", ll}, {"c", ldc}, {"d", ldt}, {"f", true}, {"g", std::string("01")}});
  Str s, num_text, date_text;
  Dec d, from_int, from_text;
  Long l, from_dec, flag;
  Dt t;
  Value v;
  must("select cwxzt, nhjje, id, djsrq, nhjje, lcwskwb into :s, :d, :l, :t, :v, :flag from svcb20c where cwtsbh = :a",
       {{"a", ls}, {"s", out(s)}, {"d", out(d)}, {"l", out(l)}, {"t", out(t)}, {"v", out(v)}, {"flag", out(flag)}});
  EXPECT_EQ(s, "1");
  EXPECT_EQ(d, ldc);
  EXPECT_EQ(l, 42);
  EXPECT_EQ(t, ldt);
  EXPECT_EQ(v, Value(*ldc)) << "a Value takes the column's own type";
  EXPECT_EQ(flag, 1);
  // Converted to the variable's type.
  must("select nhjje, id, nhjje, djsrq, '12.25' into :a, :b, :c, :e, :f from svcb20c where cwtsbh = 'W1'",
       {{"a", out(num_text)}, {"b", out(from_int)}, {"c", out(from_dec)}, {"e", out(date_text)}, {"f", out(from_text)}});
  EXPECT_EQ(num_text, "1234.5");
  EXPECT_EQ(from_int, Decimal(42));
  EXPECT_EQ(from_dec, 1234);
  EXPECT_EQ(date_text, "2024/03/05 14:30:00");
  EXPECT_EQ(from_text, Decimal::parse("12.25"));
  // What cannot be converted fails and changes no variable.
  EXPECT_EQ(sqlca.exec("select 'abc', 'no number' into :s, :d", {{"s", out(s)}, {"d", out(d)}}), -1);
  EXPECT_NE(sqlca.sqlerrtext.find(":d"), std::string::npos) << sqlca.sqlerrtext;
  EXPECT_EQ(s, "1");
  EXPECT_EQ(d, ldc);
}

TEST_F(TransactionHostVars, NullResultsSetNull) {
  must("insert into svcb20c (cwtsbh, cgsh) values ('W1', '01')");  // cskxf, nhjje, cbz are NULL
  Str s = "old";
  Dec d = Decimal(5);
  Value v = Value("old");
  std::optional<Blob> b = Blob{"old"};
  Blob plain{"old"};
  must("select cskxf, nhjje, cbz, null, null into :s, :d, :v, :b, :p from svcb20c where cwtsbh = 'W1'",
       {{"s", out(s)}, {"d", out(d)}, {"v", out(v)}, {"b", out(b)}, {"p", out(plain)}});
  EXPECT_FALSE(s.has_value());
  EXPECT_FALSE(d.has_value());
  EXPECT_TRUE(v.is_null());
  EXPECT_EQ(v.type(), Type::String) << "the null of a text column is a null text";
  EXPECT_FALSE(b.has_value());
  EXPECT_TRUE(plain.bytes.empty());
}

}  // namespace
}  // namespace kq::db
