#pragma once
// The host application's repair-item details window, as far as the module
// meets it: opened with a us_svc_xmmx for a work order.
#include <string>

#include "platform/ui/window.h"

namespace kq::fw {

class w_svc302_03 : public ui::Window {
 public:
  w_svc302_03();

  ui::Control& st_1;  // the work order shown

  std::string is_wtsbh;  // the work order opened with
  long il_lb = 0;        // the kind of details opened with

  long open() override;
};

}  // namespace kq::fw
