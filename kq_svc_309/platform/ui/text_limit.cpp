#include "platform/ui/text_limit.h"

#include "platform/value/text.h"

namespace kq::ui {

std::optional<std::string> text_too_long(std::string_view label, int limit, std::string_view typed) {
  if (limit <= 0 || text::len(typed) <= static_cast<size_t>(limit)) return std::nullopt;
  return (label.empty() ? std::string("输入内容") : std::string(label)) + "最多 " + std::to_string(limit) + " 个字符";
}

}  // namespace kq::ui
