#pragma once
// w_svc309, 打印结算单: the company's settled work orders, from which a
// cashier reprints the settlement slip (through uo_svc_print) and prints the
// exit pass (d_svc303_01_04, or d_svc303_01_04_h for the date-range list).
// Two lists, told by is_menutext[1]: "全部" = the current list
// (d_svc309_01), "当前" = all settlements of a date range (d_svc309_02,
// is_qsrq to is_jzrq). The window writes nothing to the database.
#include <string>

#include "framework/w_large.h"

namespace kq::svc {

class w_svc309 : public fw::w_large {
 public:
  w_svc309();

  ui::Control& cbx_1;                 // "包含前欠": owing earlier arrears listed too
  ui::Control& em_1;                  // 打印份数, 1 to 9
  ui::Control& st_1;
  ui::Control& cbx_2;                 // "显示税额"
  ui::Control& rb_1;                  // "I": rows whose bs is "*"
  ui::Control& rb_2;                  // "O": all rows
  ui::DataWindowControl& dw_jsd;      // the slip, invisible
  ui::DataWindowControl& dw_cmz;      // the exit pass, invisible
  ui::Control& cbx_3;                 // "定损显示优惠"
  ui::Control& cbx_4;                 // "打印会员信息"
  ui::Control& gb_1;

  std::string is_xstp;  // modify text of the slip's preview (set by the print service)
  bool ib_doub = false; // true only while a double-click or Enter is handled
  std::string is_qsrq, is_jzrq;  // the date range of the full list, yyyy/mm/dd

  // The current list, the default copies (sysb12, "读取当前委托书的默认打印份数失败!"
  // when the read fails), the tax and membership defaults, then wf_filter. 1.
  long ue_before_open() override;
  long open() override;
  // The list again with the arguments of its state; filter and sort kept. 1.
  long ue_refresh() override;
  // Re-applies dw_1.ois_outfilter, then wf_cbx_3. 1.
  long ue_query() override;
  // Previews idw_preview with is_xstp as its modify text. 1.
  long ue_preview() override;
  // 1 switches the list, 2 prints the slip of the current row, 3 previews
  // its exit pass; 0 when there is nothing to act on, 1 otherwise.
  long ue_cus(long ai_select) override;

  // The list's headings sort in dw_1_clicked (Ctrl: several columns); other
  // grids as the ancestor's.
  void heading_clicked(ui::DataWindowControl& control, const std::string& column) override;
  long dw_1_clicked(long xpos, long ypos, long row, const std::string& dwo) override;
  long dw_1_doubleclicked(long xpos, long ypos, long row, const std::string& dwo) override;
  long dw_1_rbuttondown(long xpos, long ypos, long row, const std::string& dwo) override;
  long dw_1_rowfocuschanged(long currentrow) override;
  long dw_1_ue_keydown(int key, int keyflags) override;

  // Filter "(state) and (I/O)" kept in dw_1.ois_outfilter, sort
  // "djsrq D ,cwtsbh A", first row current. true.
  bool wf_filter();
  // Row 1 becomes current and selected, and sets cbx_3 from it.
  void wf_cbx_3();
  // The slip of the current row prepared and previewed (ue_cus(2) with ib_doub).
  bool wf_double_enter();

  // The copies em_1 asks for, kept within 1 to 9.
  int copies() const;

 private:
  // cbx_3 for a work-order number: an "A" order enables and checks it
  // (when it was disabled), any other disables and unchecks it.
  void cbx_3_rule(const Str& wtsbh);
};

}  // namespace kq::svc
