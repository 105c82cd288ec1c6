#pragma once
// w_svc301, 派工处理: the company's work orders without prior arrears
// (d_svc301_01), in repair only while 在修 (cbx_1) is checked, the others
// when it is not. A double-click or Enter in the list opens the repair-item
// window w_svc300_03 in dispatch mode ("PG") for the current work order,
// unless wf_double_enter finds a reason not to.
#include <string>

#include "framework/w_large.h"

namespace kq::svc {

class w_svc301 : public fw::w_large {
 public:
  w_svc301();

  ui::Control& cbx_1;  // "在修": checked = in repair only (cwxzt = '0')

  // Lists the work orders with the filter "cwxzt = '0'" (kept in
  // dw_1.ois_outfilter) and highlights the current row. 1.
  long ue_before_open() override;
  // Retrieves again and re-applies dw_1.ois_outfilter. 1.
  long ue_refresh() override;
  // Filters on the check box: "cwxzt = '0'" checked, "cwxzt <> '0'" not. 1.
  virtual long cbx_1_clicked();
  // wf_double_enter.
  long dw_1_doubleclicked(long xpos, long ypos, long row, const std::string& dwo) override;
  // Enter (13): wf_double_enter, 1; any other key: the ancestor's.
  long dw_1_ue_keydown(int key, int keyflags) override;

  // Opens w_svc300_03 in dispatch mode for the current row. In order, each
  // stop returning 0: no current row, or a blank work-order number (no
  // message); the count of its repair items failed ("读取当前委托书工时项目失败!");
  // none ("该委托书没有维修项目，无需部门派工!"); a w_svc300_03 already open in
  // this session, whose mode decides the message ("请先关闭其它界面的【增加维修项目】！",
  // "此委托书正在进厂处理增加维修项目！", "此委托书正在完工审核增加维修项目！" or none).
  // 1 when the window opened.
  virtual long wf_double_enter();
};

}  // namespace kq::svc
