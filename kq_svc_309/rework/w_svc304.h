#pragma once
// w_svc304, 返修处理: the company's rework records (svcb50), either the current
// list (d_svc304_01) or all records with those of history work orders
// (d_svc304_02); the _gsgl variants add the labour-hour columns when the
// parameter svc/lsygsgl is "1". Records are added and changed in
// w_svc304_01. With labour-hour management in use the window refuses to run
// ("系统使用工时管理，不能使用该功能！") and closes itself on opening.
//
// The custom command 1 switches the lists; its text tells where it leads:
// "全部" while the current list shows (menu m_maintain_single), "当前" while
// all records show (menu m_sys_14). Adding always returns to the current
// list first.
//
// Deleting a record clears the rework flag lfgbs of its repair item in
// svcb20d, or in svcb20d_h for a work order in history, and with labour-hour
// management removes the item's rework job (wtcb01c, lfxbs = 1); all in the
// one unit of work of the delete.
#include <string>

#include "framework/w_stmm_display.h"

namespace kq::svc {

class w_svc304 : public fw::w_stmm_display {
 public:
  w_svc304();

  std::string is_wtsbh;   // the record being deleted: work order,
  std::string is_xmdm;    // repair-item code
  std::string is_xmmc;    // and repair-item name
  std::string is_sygsgl;  // svc/lsygsgl as read on opening ("0" when absent)

  long ue_before_open() override;
  // The ancestor's open, then the refusal with labour-hour management. 1.
  long open() override;
  // Custom command 1: switches between the current and the all list. 1.
  long ue_cus(long ai_select) override;
  // Back to the current list (d_svc304_01) when all records show, then the
  // ancestor's insert: 0 when it opened nothing, else 1.
  long ue_do_insert() override;
  // The delete command; with labour-hour management a record the workshop
  // has started (lksbs 1) is refused ("项目已经开始维修，不能删除").
  long ue_do_delete() override;
  // Remembers the record's key in is_wtsbh, is_xmdm, is_xmmc. 1.
  long ue_before_delete() override;
  // Clears the flag and removes the rework job; 0 (the delete is cancelled)
  // after "更新委托书维修项目返工标识失败！" or "删除工时管理项目记录表失败！".
  long ue_after_delete() override;

  // True while all records (current and history) show.
  bool showing_all() const { return is_menutext.count(1) && is_menutext.at(1) == "当前"; }

 private:
  // Shows `dataobject` in dw_display, read-only, and retrieves it.
  void switch_list(const std::string& dataobject);
};

}  // namespace kq::svc
