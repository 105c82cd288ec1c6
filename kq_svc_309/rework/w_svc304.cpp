#include "rework/w_svc304.h"

#include "framework/f_msg.h"
#include "framework/f_retu_para.h"
#include "framework/session.h"
#include "rework/rework_flag.h"

namespace kq::svc {

w_svc304::w_svc304() : fw::w_stmm_display("w_svc304", "返修处理") {
  changemenu("m_maintain_single");
  dw_display->dataobject("d_svc304_01");
  dw_display.geometry = ui::Geometry{0, 0, 800, 520};
}

long w_svc304::ue_before_open() {
  if (fw::w_stmm_display::ue_before_open() == 0) return 0;
  is_retrievecolumnstring = "";
  ia_retrievecolumnvalue = {Value("")};
  is_primarykey = "cwtsbh,cwxxmdm";
  is_first_colname_add = "cwtsbh";
  is_first_colname_change = "ngs";
  is_sygsgl = fw::f_retu_para("svc", "lsygsgl").value_or("0");
  if (is_sygsgl == "1") {
    is_double_columnname = {"cwtsbh", "cwxxmdm", "cbzdm", "czxrdm", "cgwdm"};
    is_last_colname_change = is_last_colname_add = "cwxgwdm";
    dw_display->dataobject("d_svc304_01_gsgl");
  } else {
    is_double_columnname = {"cwtsbh", "cwxxmdm", "cbzdm", "czxrdm"};
    is_last_colname_change = is_last_colname_add = "czxr";
  }
  is_editwindowname = "w_svc304_01";
  inv_resize.of_register(dw_display, 0, 0, 100, 100);
  inv_resize.of_register(dw_toolbar, 0, 0, 100, 0);
  is_menutext[1] = "全部";
  is_menu_enabled = "1";
  return 1;
}

long w_svc304::open() {
  fw::w_stmm_display::open();
  if (fw::f_retu_para("svc", "lsygsgl").value_or("0") == "1") {
    fw::messagebox(fw::g().gs_tsxx, "系统使用工时管理，不能使用该功能！", ui::Icon::Exclamation);
    ui::close(*this);
  }
  return 1;
}

void w_svc304::switch_list(const std::string& dataobject) {
  dw::DataWindow& d = dw_display;
  d.setredraw(false);
  d.dataobject(dataobject);
  d.set_readonly(true);
  d.modify("DataWindow.Grid.ColumnMove=No");
  d.modify("DataWindow.Selected.Mouse = No");
  d.settransobject(fw::session().sqlca);
  wf_retrieve();
  d.setredraw(true);
}

long w_svc304::ue_cus(long ai_select) {
  fw::w_stmm_display::ue_cus(ai_select);
  if (ai_select != 1) return 1;
  const bool gsgl = is_sygsgl == "1";
  if (showing_all()) {
    is_menu = "m_maintain_single";
    is_menutext[1] = "全部";
    wf_menu_init();
    switch_list(gsgl ? "d_svc304_01_gsgl" : "d_svc304_01");
  } else {
    is_menu = "m_sys_14";
    is_menutext[1] = "当前";
    wf_menu_init();
    switch_list(gsgl ? "d_svc304_02_gsgl" : "d_svc304_02");
  }
  return 1;
}

long w_svc304::ue_do_insert() {
  if (showing_all()) {
    is_menu = "m_maintain_single";
    is_menutext[1] = "全部";
    wf_menu_init();
    switch_list("d_svc304_01");
  }
  return fw::w_stmm_display::ue_do_insert() == 0 ? 0 : 1;
}

long w_svc304::ue_do_delete() {
  dw::DataWindow& d = *dw_d;
  if (is_sygsgl == "1" && d.rowcount() > 0 && d.getrow() >= 1 &&
      dw_display->getitemnumber(dw_display->getrow(), "lksbs") == Decimal(1)) {
    fw::messagebox(fw::g().gs_tsxx, "项目已经开始维修，不能删除", ui::Icon::Exclamation);
    return 0;
  }
  return fw::w_stmm_display::ue_do_delete();
}

long w_svc304::ue_before_delete() {
  fw::w_stmm_display::ue_before_delete();
  const long row = dw_display->getrow();
  is_wtsbh = dw_display->getitemstring(row, "cwtsbh").value_or("");
  is_xmdm = dw_display->getitemstring(row, "cwxxmdm").value_or("");
  is_xmmc = dw_display->getitemstring(row, "cxmmc").value_or("");
  return 1;
}

long w_svc304::ue_after_delete() {
  if (fw::w_stmm_display::ue_after_delete() == 0) return 0;
  return clear_rework(is_wtsbh, is_xmdm, is_xmmc, is_sygsgl == "1") ? 1 : 0;
}

}  // namespace kq::svc
