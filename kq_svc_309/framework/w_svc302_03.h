#pragma once
// The host application's repair-item details window: opened with a
// us_svc_xmmx, it lists the repair items of the work order (l_lb = 1, the
// only kind), current or moved to history (d_svc302_03_01), read only.
#include <string>

#include "platform/ui/window.h"

namespace kq::fw {

class w_svc302_03 : public ui::Window {
 public:
  w_svc302_03();

  ui::Control& st_1;            // the work order shown
  ui::DataWindowControl& dw_1;  // its repair items, read only
  ui::Control& cb_1;            // "关闭(&C)"

  std::string is_wtsbh;  // the work order opened with
  long il_lb = 0;        // the kind of details opened with

  // Lists the items of the work order of the parameter; a failed read shows
  // "读取委托书维修项目失败！" and leaves the list empty. 1.
  long open() override;
  // Closes the window. 1.
  virtual long cb_1_clicked();
};

}  // namespace kq::fw
