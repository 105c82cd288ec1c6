#pragma once
// The date-range dialog: two dates, first and last, each "yyyy/mm/dd".
#include <string>

namespace kq::ui {

struct DateRange {
  std::string title;
  std::string first;  // preset first date, "yyyy/mm/dd"
  std::string last;   // preset last date, "yyyy/mm/dd"
  friend bool operator==(const DateRange&, const DateRange&) = default;
};

}  // namespace kq::ui
