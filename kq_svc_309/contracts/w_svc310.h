#pragma once
// w_svc310, 打印工单: the company's work orders, from which a work order's
// repair contract (合同) and workshop inspection sheet (检验单) are previewed
// for printing and its repair items (明细) opened.
//
// The list shows the current work orders (d_svc310_01; is_menutext[1] is
// then "全部", the command that switches to all) or, on request, all work
// orders brought in within is_qsrq .. is_jzrq, history included
// (d_svc310_02; is_menutext[1] "当前"). In the current list the first call of
// a contract or inspection sheet gives the work order its number (see
// document_number.h); the full list never numbers.
#include <string>

#include "framework/w_large.h"

namespace kq::svc {

class w_svc310 : public fw::w_large {
 public:
  w_svc310();

  ui::DataWindowControl& dw_ht;   // invisible: the contract previewed
  ui::DataWindowControl& dw_jyd;  // invisible: the inspection sheet previewed

  std::string is_qsrq;  // first arrival date of the full list, yyyy/mm/dd
  std::string is_jzrq;  // last arrival date of the full list, yyyy/mm/dd

  // Commands 全部 / 合同 / 检验单 / 明细; the current work orders listed,
  // the current row highlighted. 1.
  long ue_before_open() override;
  // Retrieves the list shown again. 1.
  long ue_refresh() override;
  // 1 switches the list, 2 the contract, 3 the inspection sheet, 4 the
  // details. Without a current row every command returns 0 and does
  // nothing; an unknown command returns 1.
  long ue_cus(long ai_select) override;
  // Previews idw_preview titled "委托书打印工单". 1, or 0 when nothing to show.
  long ue_preview() override;
  // Previews idw_preview for printing ("nop").
  void ue_prev();

  // Opens the details w_svc302_03 of the current row's work order. 0 without
  // a work order number.
  virtual long wf_double_enter();

  long dw_1_doubleclicked(long xpos, long ypos, long row, const std::string& dwo) override;
  // The list's own keys; Enter (13) then opens the details.
  long dw_1_ue_keydown(int key, int keyflags) override;

 private:
  bool showing_current() const;
  long switch_list();
  long contract();
  long inspection_sheet();
  // The trimmed work-order number of the current row ("" when none).
  std::string current_wtsbh();
  // Retrieves `d` for the work order and previews it; idw_preview is dw_1 again after.
  void preview_document(ui::DataWindowControl& d, const std::string& wtsbh);
};

}  // namespace kq::svc
