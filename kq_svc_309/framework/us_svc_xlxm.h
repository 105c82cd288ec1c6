#pragma once
// Parameter of the repair-item window w_svc300_03.
#include <string>

namespace kq::fw {

struct us_svc_xlxm {
  std::string cwtsbh;   // work order
  std::string cwxxmdm;  // repair item (optional)
  std::string cxmmc;    // its name (optional)
  std::string ctype;    // mode: "PG" dispatch, "ZH" general, "SH" completion audit
};

}  // namespace kq::fw
