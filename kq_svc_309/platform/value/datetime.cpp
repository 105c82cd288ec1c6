#include "platform/value/datetime.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <ostream>

namespace kq {
namespace {

// Days from 1970-01-01 for a proleptic Gregorian date (H. Hinnant's algorithm).
constexpr int64_t days_from_civil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

struct Civil {
  int y;
  unsigned m, d;
};

constexpr Civil civil_from_days(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int>(y + (m <= 2)), m, d};
}

constexpr int64_t kEpoch1900 = days_from_civil(1900, 1, 1);

int64_t days_of(int64_t seconds) {
  int64_t d = seconds / 86400;
  if (seconds % 86400 < 0) --d;
  return d;
}

std::mutex g_clock_mutex;
std::function<DateTime()> g_clock;

bool read_int(std::string_view& s, int digits, int& out) {
  if (s.size() < static_cast<size_t>(digits)) return false;
  int v = 0;
  for (int i = 0; i < digits; ++i) {
    char c = s[static_cast<size_t>(i)];
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  out = v;
  s.remove_prefix(static_cast<size_t>(digits));
  return true;
}

// Reads 1 or 2 digits.
bool read_small(std::string_view& s, int& out) {
  if (s.empty() || s[0] < '0' || s[0] > '9') return false;
  out = s[0] - '0';
  s.remove_prefix(1);
  if (!s.empty() && s[0] >= '0' && s[0] <= '9') {
    out = out * 10 + (s[0] - '0');
    s.remove_prefix(1);
  }
  return true;
}

}  // namespace

std::optional<DateTime> DateTime::from_parts(int year, int month, int day, int hour, int minute, int second) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return std::nullopt;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  int max_day = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
  if (day > max_day) return std::nullopt;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return std::nullopt;
  int64_t days = days_from_civil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpoch1900;
  return from_seconds(days * 86400 + hour * 3600 + minute * 60 + second);
}

std::optional<DateTime> DateTime::parse(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0;
  if (!read_int(s, 4, y)) return std::nullopt;
  if (!s.empty() && (s[0] == '/' || s[0] == '-' || s[0] == '.')) {
    char sep = s[0];
    s.remove_prefix(1);
    if (!read_small(s, mo) || s.empty() || s[0] != sep) return std::nullopt;
    s.remove_prefix(1);
    if (!read_small(s, d)) return std::nullopt;
  } else {
    if (!read_int(s, 2, mo) || !read_int(s, 2, d)) return std::nullopt;
  }
  if (!s.empty()) {
    if (s[0] != ' ' && s[0] != 'T') return std::nullopt;
    while (!s.empty() && (s[0] == ' ' || s[0] == 'T')) s.remove_prefix(1);
    if (!read_small(s, h) || s.empty() || s[0] != ':') return std::nullopt;
    s.remove_prefix(1);
    if (!read_small(s, mi)) return std::nullopt;
    if (!s.empty() && s[0] == ':') {
      s.remove_prefix(1);
      if (!read_small(s, sec)) return std::nullopt;
      if (!s.empty() && s[0] == '.') {
        s.remove_prefix(1);
        while (!s.empty() && s[0] >= '0' && s[0] <= '9') s.remove_prefix(1);
      }
    }
    if (!s.empty()) return std::nullopt;
  }
  return from_parts(y, mo, d, h, mi, sec);
}

DateTime DateTime::now() {
  {
    std::lock_guard<std::mutex> lock(g_clock_mutex);
    if (g_clock) return g_clock();
  }
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return *from_parts(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                     tm.tm_sec > 59 ? 59 : tm.tm_sec);
}

void DateTime::set_clock(std::function<DateTime()> clock) {
  std::lock_guard<std::mutex> lock(g_clock_mutex);
  g_clock = std::move(clock);
}

int DateTime::year() const { return civil_from_days(days_of(seconds_) + kEpoch1900).y; }
int DateTime::month() const { return static_cast<int>(civil_from_days(days_of(seconds_) + kEpoch1900).m); }
int DateTime::day() const { return static_cast<int>(civil_from_days(days_of(seconds_) + kEpoch1900).d); }

int DateTime::day_of_week() const {
  // 1900-01-01 was a Monday.
  int64_t d = days_of(seconds_);
  return static_cast<int>(((d + 1) % 7 + 7) % 7) + 1;
}

std::string DateTime::to_date_string() const {
  Civil c = civil_from_days(days_of(seconds_) + kEpoch1900);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04d/%02u/%02u", c.y, c.m, c.d);
  return buf;
}

std::string DateTime::to_string() const {
  Civil c = civil_from_days(days_of(seconds_) + kEpoch1900);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d/%02u/%02u %02d:%02d:%02d", c.y, c.m, c.d, hour(), minute(), second());
  return buf;
}

std::string DateTime::to_iso() const {
  Civil c = civil_from_days(days_of(seconds_) + kEpoch1900);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02u %02d:%02d:%02d", c.y, c.m, c.d, hour(), minute(), second());
  return buf;
}

std::ostream& operator<<(std::ostream& os, const DateTime& d) { return os << d.to_string(); }

}  // namespace kq
