#pragma once
#include <string_view>

#include "platform/value/value.h"

namespace kq::fw {

// The text of system parameter `code` of group `group` (sysi90) for the
// current company; group and code match without regard to case ("svc" =
// "SVC"). Null when the parameter is absent. Leaves sqlca's sqlcode as it was.
Str f_retu_para(std::string_view group, std::string_view code);

}  // namespace kq::fw
