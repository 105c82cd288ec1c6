#pragma once
// A spin edit (an edit mask with up and down arrows): the whole numbers it
// steps through. The server keeps typed text within them, whatever the
// browser sends.
#include <optional>
#include <string>
#include <string_view>

namespace kq::ui {

struct SpinRange {
  long min = 0;
  long max = 0;
  long increment = 1;
  friend bool operator==(const SpinRange&, const SpinRange&) = default;
};

// The refusal of `typed` for a spin edit called `label` ("打印份数须为 1 到 9
// 之间的整数"): typed text must be a whole number from min to max (blanks
// around it allowed). None when it is one.
std::optional<std::string> outside_spin(std::string_view label, const SpinRange& range, std::string_view typed);

}  // namespace kq::ui
