#include "platform/value/datetime.h"

#include <gtest/gtest.h>

namespace kq {
namespace {

TEST(DateTime, ParsesTheTextFormsAndRejectsImpossibleDates) {
  EXPECT_EQ(DateTime::parse("2026/12/08")->to_string(), "2026/12/08 00:00:00");
  EXPECT_EQ(DateTime::parse("2026-12-08 09:05:07")->to_string(), "2026/12/08 09:05:07");
  EXPECT_EQ(DateTime::parse("2026/1/8 9:05")->to_string(), "2026/01/08 09:05:00");
  EXPECT_EQ(DateTime::parse("20240229")->to_date_string(), "2024/02/29");
  EXPECT_EQ(DateTime::parse("2026-12-08 09:05:07.123")->second(), 7);
  for (const char* bad : {"", "2026/13/01", "2023/02/29", "2026/12/32", "2026/12/08 24:00", "12/08/2026", "2026/12/08x",
                          "1900/00/01"})
    EXPECT_FALSE(DateTime::parse(bad)) << bad;
}

TEST(DateTime, AbsentDateIsNineteenHundred) {
  EXPECT_EQ(DateTime::absent().to_string(), "1900/01/01 00:00:00");
  EXPECT_TRUE(DateTime::parse("1900/01/01")->is_absent());
  EXPECT_EQ(DateTime::parse("1900/01/01")->day_of_week(), 2);  // a Monday
}

TEST(DateTime, CalendarArithmeticAcrossMonthsAndLeapYears) {
  DateTime d = *DateTime::parse("2024/02/28 23:59:59");
  EXPECT_EQ(d.add_seconds(1).to_string(), "2024/02/29 00:00:00");
  EXPECT_EQ(d.add_days(2).to_date_string(), "2024/03/01");
  EXPECT_EQ(DateTime::parse("2045/01/01")->days_after(*DateTime::parse("2044/12/31")), 1);
  DateTime date = *DateTime::parse("2026/12/08"), time = *DateTime::parse("2001/01/01 14:30:15");
  EXPECT_EQ(date.with_time_of(time).to_iso(), "2026-12-08 14:30:15");
  EXPECT_EQ(time.date().to_string(), "2001/01/01 00:00:00");
  EXPECT_LT(*DateTime::parse("1899/12/31"), DateTime::absent());
  EXPECT_EQ(DateTime::parse("1899/12/31 12:00")->to_string(), "1899/12/31 12:00:00");
}

TEST(DateTime, TestClockReplacesNow) {
  DateTime fixed = *DateTime::parse("2030/05/06 07:08:09");
  DateTime::set_clock([fixed] { return fixed; });
  EXPECT_EQ(DateTime::now(), fixed);
  DateTime::set_clock(nullptr);
  EXPECT_NE(DateTime::now(), fixed);
}

}  // namespace
}  // namespace kq
