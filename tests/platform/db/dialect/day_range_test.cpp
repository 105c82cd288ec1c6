// Day comparisons translated for SQLite select exactly the rows of the day
// comparison alone, for every operator, every kind of stored value and every
// kind of operand, dates or not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixture_db.h"
#include "platform/db/dialect/dialect.h"

namespace kq::db {
namespace {

using testing::FixtureDb;
using testing::HostValue;

std::string joined(const std::vector<testing::Row>& rows) {
  std::string out;
  for (const auto& r : rows) out += (out.empty() ? "" : ",") + r.at(0);
  return out.empty() ? "(none)" : out;
}

std::string shown(const HostValue& v) {
  if (std::holds_alternative<std::nullptr_t>(v)) return "NULL";
  if (const auto* s = std::get_if<std::string>(&v)) return "'" + *s + "'";
  return "a number";
}

TEST(DayRanges, SelectTheRowsOfTheDayComparisonForEveryOperatorValueAndOperand) {
  FixtureDb db;
  // Stored datetimes at the edges of days, a date without time, the absent
  // date, and null.
  db.exec(
      "insert into svcb20c (cwtsbh, cgsh, djsrq) values"
      " ('A', '01', '2026-12-08 00:00:00'), ('B', '01', '2026-12-08 23:59:59'), ('C', '01', '2026-12-09 00:00:00'),"
      " ('D', '01', '2026-12-09 23:59:59'), ('E', '01', '2026-12-10'), ('F', '01', '2026-12-19 12:00:00'),"
      " ('G', '01', '2026-12-20 00:00:00'), ('H', '01', '1900-01-01 00:00:00'), ('I', '01', NULL),"
      " ('J', '01', '2027-01-01 00:00:00'), ('K', '02', '2026-12-09 10:00:00')");
  const std::vector<std::string> operators = {"=", ">=", ">", "<=", "<", "<>"};
  const std::vector<HostValue> days = {std::string("2026/12/09"), std::string("2026/12/19"), std::string("2026/12/1"),
                                       std::string("2026/12/09 10:00"), std::string("2026-12-09"), std::string(""),
                                       std::string("abc"), std::string("1900/01/01"), std::string("9999/99/99"),
                                       nullptr, 20261209LL};
  auto translated = [&](const std::string& tsql) {
    auto t = make_sqlite_dialect()->translate(tsql, db.catalog());
    EXPECT_TRUE(t.ok()) << tsql << ": " << (t.ok() ? "" : t.error());
    return t.ok() ? *t : Translation{};
  };
  // The day comparison alone: convert(char(10), x, 111) is the text
  // "yyyy/mm/dd" of a stored "yyyy-mm-dd ...".
  auto alone = [&](const std::string& condition, const std::vector<HostValue>& values) {
    sqlite3_stmt* st = nullptr;
    std::string sql = "select cwtsbh from svcb20c where " + condition + " and cgsh = '01' order by cwtsbh";
    EXPECT_EQ(sqlite3_prepare_v2(db.db(), sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sql;
    for (size_t k = 0; k < values.size(); ++k) {
      const HostValue& v = values[k];
      const int i = static_cast<int>(k) + 1;
      if (const auto* s = std::get_if<std::string>(&v)) sqlite3_bind_text(st, i, s->c_str(), -1, SQLITE_TRANSIENT);
      else if (const auto* n = std::get_if<long long>(&v)) sqlite3_bind_int64(st, i, *n);
      else sqlite3_bind_null(st, i);
    }
    std::vector<testing::Row> rows;
    while (sqlite3_step(st) == SQLITE_ROW) rows.push_back({reinterpret_cast<const char*>(sqlite3_column_text(st, 0))});
    sqlite3_finalize(st);
    return rows;
  };
  const std::string day = "replace(substr(djsrq, 1, 10), '-', '/')";
  size_t compared = 0;
  for (const std::string& op : operators)
    for (const HostValue& d : days) {
      SCOPED_TRACE("djsrq's day " + op + " " + shown(d));
      Translation t = translated("select cwtsbh from svcb20c where convert(char(10),djsrq,111) " + op +
                                 " :d and cgsh = '01' order by cwtsbh");
      EXPECT_EQ(joined(db.run(t, {{"d", d}})), joined(alone(day + " " + op + " ?", {d})));
      // The day of a host variable, as the card checks compare.
      Translation of_day = translated("select cwtsbh from svcb20c where convert(char(10),djsrq,111) " + op +
                                      " convert(char(10), :d, 111) and cgsh = '01' order by cwtsbh");
      EXPECT_EQ(joined(db.run(of_day, {{"d", d}})),
                joined(alone(day + " " + op + " replace(substr(?, 1, 10), '-', '/')", {d})));
      ++compared;
    }
  for (const HostValue& from : days)
    for (const HostValue& to : {days[0], days[1], days[5], days[9]}) {
      SCOPED_TRACE("djsrq's day between " + shown(from) + " and " + shown(to));
      Translation t = translated(
          "select cwtsbh from svcb20c where cgsh = '01' and convert(char(10),djsrq,111) between :a and :b "
          "order by cwtsbh");
      EXPECT_EQ(joined(db.run(t, {{"a", from}, {"b", to}})), joined(alone(day + " between ? and ?", {from, to})));
    }
  // The ranges select something: a range that admits nothing would pass the
  // comparisons above only where the comparison selects nothing too.
  Translation one_day = translated(
      "select cwtsbh from svcb20c where convert(char(10),djsrq,111) = :d and cgsh = '01' order by cwtsbh");
  EXPECT_EQ(joined(db.run(one_day, {{"d", std::string("2026/12/09")}})), "C,D");
  // ... and the column meets the bounds bare, as an index on it needs.
  EXPECT_NE(one_day.sql.find("(djsrq >= ("), std::string::npos) << one_day.sql;
  EXPECT_NE(one_day.sql.find(" and djsrq < ("), std::string::npos) << one_day.sql;
  EXPECT_EQ(compared, operators.size() * days.size());
}

}  // namespace
}  // namespace kq::db
