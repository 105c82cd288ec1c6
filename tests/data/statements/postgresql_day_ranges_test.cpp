// Day comparisons translated for PostgreSQL select exactly the rows of the
// day comparison alone (to_char(djsrq, 'YYYY/MM/DD') op day, run bare on the
// server), for every operator and operand: days at the edges of months and
// years, days that do not exist, texts that are no day, null.
#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <string>
#include <vector>

#include "data/schema/postgresql_schema.h"
#include "platform/db/transaction.h"
#include "support/server_database.h"

namespace kq {
namespace {

std::string shown(const Value& v) { return v.is_null() ? "NULL" : v.is_string() ? "'" + v.str() + "'" : v.debug_string(); }

class PostgresqlDayRanges : public ::testing::Test {
 protected:
  void SetUp() override {
    KQ_NEED_SERVER();
    server_ = std::make_unique<kq::testing::ServerDatabase>();
    ASSERT_TRUE(sqlca.connect(server_->options()));
    auto migrated = schema::migrate_postgresql(*sqlca.connection());
    ASSERT_TRUE(migrated) << migrated.error();
    sqlca.clear_cache();
    raw_ = PQconnectdb(server_->conninfo().c_str());
    ASSERT_EQ(PQstatus(raw_), CONNECTION_OK) << PQerrorMessage(raw_);
    // Stored datetimes at the edges of days, months and years, and the absent date.
    PGresult* r = PQexec(raw_,
                         "insert into svcb20c (cwtsbh, cgsh, djsrq) values"
                         " ('A', '01', '2026-12-08 00:00:00'), ('B', '01', '2026-12-08 23:59:59'),"
                         " ('C', '01', '2026-12-09 00:00:00'), ('D', '01', '2026-12-09 23:59:59'),"
                         " ('E', '01', '2026-12-10 00:00:00'), ('F', '01', '2026-12-19 12:00:00'),"
                         " ('G', '01', '2026-12-20 00:00:00'), ('H', '01', '1900-01-01 00:00:00'),"
                         " ('I', '01', '2026-02-28 23:59:59'), ('J', '01', '2027-01-01 00:00:00'),"
                         " ('K', '02', '2026-12-09 10:00:00'), ('L', '01', '2026-03-01 00:00:00'),"
                         " ('M', '01', '2028-02-29 08:00:00'), ('N', '01', '2026-12-31 23:59:59')");
    EXPECT_EQ(PQresultStatus(r), PGRES_COMMAND_OK) << PQresultErrorMessage(r);
    PQclear(r);
  }
  void TearDown() override {
    sqlca.rollback();
    sqlca.disconnect();
    if (raw_) PQfinish(raw_);
  }

  // The rows of a module statement as the product runs it, or its error.
  std::string product(const std::string& tsql, const std::vector<db::HostVar>& vars) {
    auto cursor = sqlca.open_cursor(tsql, vars);
    if (!cursor) return "error: " + cursor.error();
    std::string out;
    while (cursor->next()) out += (out.empty() ? "" : ",") + cursor->value(0).str();
    if (!cursor->ok()) return "error: " + cursor->error();
    sqlca.rollback();
    return out.empty() ? "(none)" : out;
  }

  // The rows of the day comparison alone, run bare with text parameters.
  std::string alone(const std::string& condition, const std::vector<Value>& values) {
    std::string sql = "select rtrim(cwtsbh) from svcb20c where " + condition + " and cgsh = '01' order by cwtsbh";
    std::vector<std::string> texts;
    for (const Value& v : values) texts.push_back(v.is_null() ? "" : *v.as_string());
    std::vector<const char*> params;
    for (size_t i = 0; i < values.size(); ++i) params.push_back(values[i].is_null() ? nullptr : texts[i].c_str());
    PGresult* r = PQexecParams(raw_, sql.c_str(), static_cast<int>(params.size()), nullptr, params.data(), nullptr,
                               nullptr, 0);
    std::string out;
    if (PQresultStatus(r) != PGRES_TUPLES_OK) out = std::string("error: ") + PQresultErrorMessage(r);
    else
      for (int i = 0; i < PQntuples(r); ++i) out += (out.empty() ? "" : ",") + std::string(PQgetvalue(r, i, 0));
    PQclear(r);
    return out.empty() ? "(none)" : out;
  }

  std::unique_ptr<kq::testing::ServerDatabase> server_;
  db::Transaction sqlca;
  PGconn* raw_ = nullptr;
};

TEST_F(PostgresqlDayRanges, SelectTheRowsOfTheDayComparisonForEveryOperatorAndOperand) {
  const std::string day = "to_char(djsrq, 'YYYY/MM/DD')";
  const std::vector<std::string> operators = {"=", ">=", ">", "<=", "<", "<>"};
  const std::vector<Value> days = {
      Value("2026/12/09"), Value("2026/12/19"), Value("2026/12/31"), Value("2026/02/28"), Value("2026/02/29"),
      Value("2026/02/30"), Value("2028/02/29"), Value("2026/12/00"), Value("2026/13/01"), Value("2026/00/15"),
      Value("0000/01/01"), Value("9999/12/31"), Value("2026/12/1"), Value("2026/12/09 10:00"), Value("2026-12-09"),
      Value(""), Value("abc"), Value("1900/01/01"), Value::null(Type::String), Value(20261209LL)};
  for (const std::string& op : operators)
    for (const Value& d : days) {
      SCOPED_TRACE("djsrq's day " + op + " " + shown(d));
      EXPECT_EQ(product("select cwtsbh from svcb20c where convert(char(10),djsrq,111) " + op +
                            " :d and cgsh = '01' order by cwtsbh",
                        {{"d", d}}),
                alone(day + " " + op + " $1", {d}));
    }
  // The day of a date and time, as the card checks compare.
  for (const Value& d : {Value("2026/12/09 10:00"), Value("2026/12/31"), Value("1900/01/01"), Value::null(Type::String)})
    for (const std::string& op : operators) {
      SCOPED_TRACE("djsrq's day " + op + " the day of " + shown(d));
      EXPECT_EQ(product("select cwtsbh from svcb20c where convert(char(10),djsrq,111) " + op +
                            " convert(char(10), :d, 111) and cgsh = '01' order by cwtsbh",
                        {{"d", d}}),
                alone(day + " " + op + " to_char(cast($1 as timestamp), 'YYYY/MM/DD')", {d}));
    }
  for (const Value& from : days)
    for (const Value& to : {days[0], days[5], days[15], days[18]}) {
      SCOPED_TRACE("djsrq's day between " + shown(from) + " and " + shown(to));
      EXPECT_EQ(product("select cwtsbh from svcb20c where cgsh = '01' and convert(char(10),djsrq,111) between :a "
                        "and :b order by cwtsbh",
                        {{"a", from}, {"b", to}}),
                alone(day + " between $1 and $2", {from, to}));
    }
  // A literal day, which does not exist.
  EXPECT_EQ(product("select cwtsbh from svcb20c where convert(char(10),djsrq,111) > '2026/02/30' and cgsh = '01' "
                    "and convert(char(10),djsrq,111) < '2026/03/02' order by cwtsbh",
                    {}),
            "L");
  // The ranges select something: a range that admits nothing would pass the
  // comparisons above only where the comparison selects nothing too.
  const std::string one_day = "select cwtsbh from svcb20c where convert(char(10),djsrq,111) = :d and cgsh = '01' order by cwtsbh";
  EXPECT_EQ(product(one_day, {{"d", Value("2026/12/09")}}), "C,D");
  // ... and the column meets the bounds bare, as an index on it needs.
  auto t = sqlca.connection()->dialect().translate(one_day, sqlca.connection()->catalog());
  ASSERT_TRUE(t) << t.error();
  EXPECT_NE(t->sql.find("(djsrq >= ("), std::string::npos) << t->sql;
  EXPECT_NE(t->sql.find(" and djsrq < ("), std::string::npos) << t->sql;
}

}  // namespace
}  // namespace kq
