#pragma once
// w_svc305, 取消结算: the settled work orders of a range of settlement dates
// (d_svc305_01), from which the cashier opens the cancellation window
// w_svc305_01 for one of them.
//
// The range ends at the date of em_1 (the business date at opening) and
// starts at the default first date gd_qsrq for an operator with authority
// "CJ"; without it the range is the business date alone, em_1 is disabled,
// and only the settlements of the business date can be opened. em_0 shows
// the business date of the opening.
#include <string>

#include "framework/w_stmm_display.h"

namespace kq::svc {

class w_svc305 : public fw::w_stmm_display {
 public:
  w_svc305();

  ui::Control& em_1;  // settlement date to list (end of the range), "yyyy/mm/dd"
  ui::Control& st_1;  // caption of em_1
  ui::Control& pb_1;  // "查询(&Q)": runs the query
  ui::Control& em_0;  // the business date of the opening
  ui::Control& st_2;  // caption of em_0
  ui::Control& gb_1;  // frames the date controls

  std::string is_jsrq;  // end date of the range, "yyyy/mm/dd"
  std::string is_qsrq;  // start date of the range, "yyyy/mm/dd"

  long ue_before_open() override;
  // The focus goes to em_1.
  long open() override;
  // No rows are added from this list (the tool bar does not offer 增加): 1.
  long ue_do_insert() override;
  // Refuses a listed date other than the business date without "CJ"
  // ("您只能取消今天结算的单据！"); otherwise opens w_svc305_01 for the row.
  long dw_display_doubleclicked(long xpos, long ypos, long row, const std::string& dwo) override;

  // Checks the date of em_1 (a date after 1900/01/01 and not after
  // 2045/01/01, else "日期输入错误!" and 0) and lists the range ending
  // there. 1.
  virtual long wf_double_enter();

  // Events of em_1 and pb_1.
  virtual long em_1_ue_before_construct();  // the calendar, preset to the business date
  virtual long em_1_ue_key(int key, int keyflags);  // Enter (13) runs wf_double_enter
  virtual long em_1_ue_after_double();  // a date picked in the calendar: wf_double_enter
  virtual long pb_1_clicked();          // wf_double_enter
};

}  // namespace kq::svc
