#pragma once
// The host application's repair-item window, opened with a us_svc_xlxm for
// a work order and a mode (ctype). It tells the mode it runs in while it is
// open (is_type, ib_is_pg, ib_sh).
//
// It lists the work order's repair items (d_svc300_03_01). In dispatch mode
// ("PG"), for a work order in repair (cwxzt "0"), the workshop controller
// picks for the current item a team (班组, cb_1 or a double-click on the
// team) among the company's active teams (v_svc300_bzxz) and then a main
// mechanic (主修人, cb_2 or a double-click on the mechanic) among the active
// main mechanics of that team (v_svc300_zxrxz); a new team clears the
// mechanic. 保存 (cb_3) writes the items' cbzdm and czxrdm of svcb20d in one
// unit of work. In any other mode, or for a work order no longer in
// repair, the list is shown and nothing can be changed.
#include <optional>
#include <string>

#include "platform/ui/window.h"
#include "platform/value/value.h"

namespace kq::fw {

class w_svc300_03 : public ui::Window {
 public:
  w_svc300_03();

  ui::Control& st_1;           // the work order shown
  ui::DataWindowControl& dw_1;  // its repair items (d_svc300_03_01)
  ui::Control& cb_1;           // "班组(&B)": choose the current item's team
  ui::Control& cb_2;           // "主修人(&M)": choose its main mechanic
  ui::Control& cb_3;           // "保存(&S)"
  ui::Control& cb_4;           // "关闭(&C)"

  Str is_type;                    // the mode opened with (ctype): "PG", "ZH", "SH" ...
  std::optional<bool> ib_is_pg;   // running in dispatch mode ("PG")
  std::optional<bool> ib_sh;      // opened from completion audit ("SH")
  std::string is_wtsbh;           // the work order
  bool ib_editable = false;       // dispatch mode on a work order in repair

  // Takes the work order and mode from the parameter and lists the items
  // ("读取维修项目失败！" when the list cannot be read); without a parameter
  // the window stays empty and its mode null. 1.
  long open() override;

  // Picks the current item's team from the selection list; a different team
  // clears the main mechanic. 1 when a team was chosen, 0 otherwise.
  virtual long wf_choose_team();
  // Picks the current item's main mechanic among those of its team
  // ("请先选择班组！" without a team). 1 when chosen, 0 otherwise.
  virtual long wf_choose_mechanic();
  // Writes the team and main mechanic of every changed item, then checks
  // that the work order is still in repair, and commits; any failure rolls
  // the whole back before its message shows and keeps the choices on
  // screen. 1 when saved ("保存成功！"), 0 when nothing was to save or the
  // save failed.
  virtual long wf_save();

  // Events of the controls.
  virtual long cb_1_clicked();
  virtual long cb_2_clicked();
  virtual long cb_3_clicked();
  virtual long cb_4_clicked();
  virtual long dw_1_doubleclicked(long row, const std::string& dwo);

 private:
  // Lists the items of is_wtsbh; false after the message of a failed read.
  bool retrieve_items();
};

}  // namespace kq::fw
