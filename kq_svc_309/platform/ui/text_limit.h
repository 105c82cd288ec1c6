#pragma once
// The length limit of a field that takes typed text: an edit's `limit`, or the
// declared length of a char(n)/varchar(n) data window column. Lengths count
// characters as the runtime's string functions do, not bytes.
#include <optional>
#include <string>
#include <string_view>

namespace kq::ui {

// The refusal of `typed` for a field of `limit` characters (0: no limit)
// called `label`: "原因说明最多 255 个字符", or "输入内容最多 255 个字符" without a
// label. None when the text fits.
std::optional<std::string> text_too_long(std::string_view label, int limit, std::string_view typed);

}  // namespace kq::ui
