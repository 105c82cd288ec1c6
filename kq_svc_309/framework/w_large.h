#pragma once
// The host application's work window: a list dw_1 (uo_dw_d) under the tool
// bar, custom commands (is_menutext → ue_cus), refresh, query and preview.
//
// Tool bar: 刷新 (ue_refresh, offered while ib_refresh_enabled), 查询
// (ue_query), 预览 (ue_preview), 关闭 (close). The events of dw_1
// (clicked, doubleclicked, rbuttondown, rowfocuschanged, ue_keydown) are
// methods dw_1_<event> that a work window overrides.
#include <string>

#include "framework/uo_dw_d.h"
#include "framework/us_sys_query.h"
#include "framework/w_sheet.h"

namespace kq::fw {

class w_large : public w_sheet {
 public:
  w_large(std::string classname, std::string title);

  uo_dw_d& dw_1;
  ui::DataWindowControl* idw_preview = nullptr;  // what ue_preview shows
  ui::DataWindowControl* idw_lock = nullptr;     // the list whose first column stays in view
  bool ib_refresh_enabled = false;               // the refresh command is offered
  int ii_keyflags = 0;  // keys held during the current event of dw_1 (1 Shift, 2 Ctrl)

  // dw_d, idw_preview and idw_lock become dw_1; dw_1 is bound to sqlca. 1.
  long ue_before_open() override;
  // The menu and tool bar are built. 1.
  long open() override;
  // A click on a heading of one of the window's grids sorts it by that
  // column (sort_by_heading).
  void heading_clicked(ui::DataWindowControl& control, const std::string& column) override;
  // Also offers the refresh command as ib_refresh_enabled says.
  long wf_menu_init() override;
  // Keeps the first column of idw_lock in view while the list scrolls sideways. 1.
  long wf_lock_init();
  // Applies each data window's filter of `q` again (a data window whose
  // filter does not compile keeps its rows), then highlights its current row. 1.
  long wf_query(const us_sys_query& q);

  // Commands. The ancestor's ue_refresh and ue_query do nothing (1); the
  // window's own steps follow them. ue_preview opens w_sys_dwpreview for
  // idw_preview, titled with the window's title.
  virtual long ue_refresh();
  virtual long ue_query();
  virtual long ue_preview();

  // Events of dw_1. The ancestor's: ue_keydown moves the current row
  // (uo_dw_d::ue_keydown); the others do nothing (0). Before
  // dw_1_rowfocuschanged runs, the new current row is made the one
  // selected (highlighted) row.
  virtual long dw_1_clicked(long xpos, long ypos, long row, const std::string& dwo);
  virtual long dw_1_doubleclicked(long xpos, long ypos, long row, const std::string& dwo);
  virtual long dw_1_rbuttondown(long xpos, long ypos, long row, const std::string& dwo);
  virtual long dw_1_rowfocuschanged(long currentrow);
  virtual long dw_1_ue_keydown(int key, int keyflags);
};

}  // namespace kq::fw
