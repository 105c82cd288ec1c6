#pragma once
#include <string>

namespace kq {

// The signed-in user's name (the global gs_yhxm).
std::string f_svc_get_yhmc();

}  // namespace kq
