#pragma once
#include <string_view>

namespace kq::fw {

// True when the signed-in operator holds authority `code` ("CJ", "CP", "CQ" ...).
bool f_retu_czyauth(std::string_view code);

}  // namespace kq::fw
