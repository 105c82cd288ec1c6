#pragma once
// Parameter of the repair-item details window w_svc302_03.
#include <string>

namespace kq::fw {

struct us_svc_xmmx {
  std::string s_wtsbh;  // work order
  long l_lb = 0;        // kind of details: 1 = the work order's items
};

}  // namespace kq::fw
