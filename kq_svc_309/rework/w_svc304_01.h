#pragma once
// w_svc304_01, the entry of one rework record (svcb50), opened by the rework
// list w_svc304 for a new record or for the chosen one.
//
// Its form is fixed on opening: d_svc304_01_01 for the current list,
// d_svc304_01_02 (current and history records, not saved through the form)
// when the list shows all records (menu m_sys_14); the _gsgl variants with
// the station and controller fields when svc/lsygsgl is "1".
//
// The person fills most columns from selection lists (ue_click_itemchange_
// rownotmove): the work order, one of its repair items, the team, the main
// mechanic and, with labour-hour management, the station with its
// controller. Every value in a list's condition is bound.
//
// Saving (the ancestor's order): ue_valid_check, ue_before_update (the rework
// job at the workshop terminals), the update of dw_edit, ue_before_commit
// (the rework flag of the item), commit; any failure rolls the whole save
// back. Deleting clears the flag and removes the rework job in the same unit
// of work.
#include <string>

#include "framework/w_stmm_edit.h"

namespace kq::svc {

class w_svc304_01 : public fw::w_stmm_edit {
 public:
  w_svc304_01();

  std::string is_wtsbh;   // the record being deleted: work order,
  std::string is_xmdm;    // repair-item code
  std::string is_xmmc;    // and repair-item name
  std::string is_sygsgl;  // svc/lsygsgl as read on opening ("0" when absent)

  // Chooses the form by the list's state and is_sygsgl.
  long ue_before_open() override;
  // The ancestor's open, then ue_after_open.
  long open() override;
  // With labour-hour management and svc/lxmzdgw "1" the station and controller
  // labels gain an asterisk ("*返修工位", "*工时控制器"). 1.
  virtual long ue_after_open();
  // A new record: dfxrq the business date with the time of day now, cczydm
  // the operator, cgsh the company. 1.
  long ue_after_insert() override;
  // The selection lists and the deduction check; 0 when nothing was chosen
  // or the entry is refused, else 1.
  long ue_click_itemchange_rownotmove() override;

  // In order: the work order exists for the company ("委托书编号不存在!"), the
  // item is one of its items ("维修项目在该委托书中不存在!"), whose name is read
  // again from the work order into cxmmc ("读取委托书修理项目名称失败！"), the
  // team ("班组代码不存在!"), the optional mechanic of that team ("主修人代码不存在!"),
  // hours, fee and deduction not below zero and the deduction not above the
  // fee; with labour-hour management the station/controller pair
  // (f_wtc_gwgwq). 1 valid, 0 not.
  long ue_valid_check() override;
  // With labour-hour management: creates the item's rework job in wtcb01c or
  // re-sends the existing one ("读取工时管理时间单位信息设置失败！",
  // "下传维修项目信息失败！"). 1, or 0 to stop the save.
  long ue_before_update() override;
  // Sets the rework flag lfgbs of the item in svcb20d
  // ("修改该委托书的的返工标识失败!"). 1, or 0 to stop the save.
  long ue_before_commit() override;

  // The delete command; with labour-hour management a record the workshop
  // has started is refused ("项目已经开始维修，不能删除"). After the commit the
  // list is refreshed.
  long ue_do_delete() override;
  long ue_before_delete() override;
  long ue_after_delete() override;

  // The time unit of the terminals divided into the labour hours, to two
  // places; 0 when either is null or the unit is 0 (never divided by zero).
  static Decimal terminal_time(const Dec& hours, const Dec& unit);
  // The work-order serial of a terminal job: the first character of the
  // work-order number and its characters from the seventh on.
  static std::string work_order_serial(const std::string& wtsbh);

 private:
  bool gsgl() const { return is_sygsgl == "1"; }
  // The selection lists, by column; 1 when a row was chosen.
  long choose_work_order(long row);
  long choose_item(long row);
  long choose_team(long row);
  long choose_mechanic(long row);
  long choose_station(long row);
};

}  // namespace kq::svc
