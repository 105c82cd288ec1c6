#pragma once
// Date and time of day to the second, as the shop's database keeps them.
//
// Text forms: "yyyy/mm/dd" and "yyyy/mm/dd hh:mm:ss" (the forms users type and
// the module passes around), and the ISO form "yyyy-mm-dd hh:mm:ss" that the
// embedded database stores. 1900/01/01 00:00:00 stands for an absent date.
#include <compare>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace kq {

class DateTime {
 public:
  constexpr DateTime() = default;  // 1900/01/01 00:00:00

  // nullopt for an impossible date or time (month 13, 30 February, hour 24 ...).
  static std::optional<DateTime> from_parts(int year, int month, int day, int hour = 0, int minute = 0,
                                            int second = 0);
  // Accepts "yyyy/mm/dd", "yyyy-mm-dd", "yyyymmdd", each optionally followed by
  // " hh:mm" or " hh:mm:ss" (fractions of a second are dropped). Blanks around
  // the text are ignored. nullopt for anything else.
  static std::optional<DateTime> parse(std::string_view text);

  // 1900/01/01 00:00:00, the absent date.
  static constexpr DateTime absent() { return DateTime(); }
  // The current local date and time (or the test clock, see set_clock).
  static DateTime now();
  // Replaces the clock that now() reads; an empty function restores the system clock.
  static void set_clock(std::function<DateTime()> clock);

  int year() const;
  int month() const;
  int day() const;
  int hour() const { return static_cast<int>(secs_of_day() / 3600); }
  int minute() const { return static_cast<int>(secs_of_day() / 60 % 60); }
  int second() const { return static_cast<int>(secs_of_day() % 60); }
  // 1 = Sunday ... 7 = Saturday.
  int day_of_week() const;

  // Midnight of the same day.
  DateTime date() const { return from_seconds(seconds_ - secs_of_day()); }
  // This date with the time of day of `time`.
  DateTime with_time_of(const DateTime& time) const { return from_seconds(date().seconds_ + time.secs_of_day()); }
  DateTime add_days(int64_t days) const { return from_seconds(seconds_ + days * 86400); }
  DateTime add_seconds(int64_t s) const { return from_seconds(seconds_ + s); }
  int64_t days_after(const DateTime& other) const { return date().seconds_ / 86400 - other.date().seconds_ / 86400; }

  bool is_absent() const { return seconds_ == 0; }

  std::string to_date_string() const;  // "yyyy/mm/dd"
  std::string to_string() const;       // "yyyy/mm/dd hh:mm:ss"
  std::string to_iso() const;          // "yyyy-mm-dd hh:mm:ss"

  // Seconds since 1900-01-01 00:00:00 (negative before it).
  constexpr int64_t seconds() const { return seconds_; }
  static constexpr DateTime from_seconds(int64_t s) { DateTime d; d.seconds_ = s; return d; }

  friend constexpr bool operator==(DateTime a, DateTime b) { return a.seconds_ == b.seconds_; }
  friend constexpr std::strong_ordering operator<=>(DateTime a, DateTime b) { return a.seconds_ <=> b.seconds_; }

 private:
  int64_t secs_of_day() const { return ((seconds_ % 86400) + 86400) % 86400; }
  int64_t seconds_ = 0;
};

// Writes to_string(), "yyyy/mm/dd hh:mm:ss": what test failures and logs show.
std::ostream& operator<<(std::ostream& os, const DateTime& d);

}  // namespace kq
