#include "platform/ui/spin_range.h"

#include <charconv>

#include "platform/value/text.h"

namespace kq::ui {

std::optional<std::string> outside_spin(std::string_view label, const SpinRange& range, std::string_view typed) {
  const std::string t = text::trim(typed);
  long n = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), n);
  if (!t.empty() && ec == std::errc() && end == t.data() + t.size() && n >= range.min && n <= range.max)
    return std::nullopt;
  return (label.empty() ? std::string("输入内容") : std::string(label)) + "须为 " + std::to_string(range.min) + " 到 " +
         std::to_string(range.max) + " 之间的整数";
}

}  // namespace kq::ui
