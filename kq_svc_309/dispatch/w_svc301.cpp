#include "dispatch/w_svc301.h"

#include "framework/f_select_current_row.h"
#include "framework/session.h"
#include "framework/us_svc_xlxm.h"
#include "framework/w_svc300_03.h"
#include "platform/ui/window_manager.h"
#include "platform/value/text.h"

namespace kq::svc {
namespace {

constexpr const char* kInRepair = "cwxzt = '0'";
constexpr const char* kNotInRepair = "cwxzt <> '0'";
constexpr int kEnter = 13;

}  // namespace

w_svc301::w_svc301()
    : fw::w_large("w_svc301", "派工处理"), cbx_1(add_control("cbx_1", ui::ControlKind::CheckBox, "在修")) {
  changemenu("m_sys_14");
  dw_1->dataobject("d_svc301_01");
  cbx_1.checked = true;
  cbx_1.geometry = ui::Geometry{8, 4, 80, 24};
  dw_1.geometry = ui::Geometry{0, 32, 800, 520};
  on("cbx_1", "clicked", [this](const ui::Event&) { return cbx_1_clicked(); });
}

long w_svc301::ue_before_open() {
  w_large::ue_before_open();
  inv_resize.of_register(dw_1, 0, 0, 100, 100);
  inv_resize.of_register(dw_toolbar, 0, 0, 100, 0);
  ib_refresh_enabled = true;
  dw_1->settransobject(fw::session().sqlca);
  dw_1->retrieve();
  dw_1->setfilter(kInRepair);
  dw_1->filter();
  dw_1.ois_outfilter = kInRepair;
  if (dw_1->rowcount() > 0) fw::f_select_current_row(dw_1);
  return 1;
}

long w_svc301::ue_refresh() {
  w_large::ue_refresh();
  dw_1->retrieve();
  dw_1->setfilter(dw_1.ois_outfilter);
  dw_1->filter();
  return 1;
}

long w_svc301::cbx_1_clicked() {
  const std::string filter = cbx_1.checked ? kInRepair : kNotInRepair;
  dw_1->setfilter(filter);
  dw_1->filter();
  fw::f_select_current_row(dw_1);
  dw_1.ois_outfilter = filter;
  return 1;
}

long w_svc301::dw_1_doubleclicked(long xpos, long ypos, long row, const std::string& dwo) {
  w_large::dw_1_doubleclicked(xpos, ypos, row, dwo);
  return wf_double_enter();
}

long w_svc301::dw_1_ue_keydown(int key, int keyflags) {
  if (key == kEnter) {
    wf_double_enter();
    return 1;
  }
  return w_large::dw_1_ue_keydown(key, keyflags);
}

long w_svc301::wf_double_enter() {
  const long row = dw_1->getrow();
  if (row < 1) return 0;
  const Str wtsbh = dw_1->getitemstring(row, "cwtsbh");
  const std::string ls_wtsbh = wtsbh ? text::trim(*wtsbh) : std::string();
  if (ls_wtsbh.empty()) return 0;

  fw::Session& s = fw::session();
  Long li_count;
  s.sqlca.exec("select count ( cwtsbh ) into :li_count from svcb20d where cwtsbh = :ls_wtsbh",
               {{"ls_wtsbh", ls_wtsbh}, {"li_count", db::out(li_count)}});
  if (s.sqlca.sqlcode == -1) {
    msg(s.g.gs_tsxx, "读取当前委托书工时项目失败!");
    return 0;
  }
  if (!li_count || *li_count < 1) {
    msg(s.g.gs_tsxx, "该委托书没有维修项目，无需部门派工!");
    return 0;
  }

  fw::us_svc_xlxm lstr_1;
  lstr_1.cwtsbh = ls_wtsbh;
  lstr_1.ctype = "PG";

  // The session's one repair-item window: never opened a second time.
  if (auto* open = dynamic_cast<fw::w_svc300_03*>(manager()->find("w_svc300_03"))) {
    if (open->is_type && *open->is_type != "ZH")
      msg(s.g.gs_tsxx, "请先关闭其它界面的【增加维修项目】！");
    else if (open->ib_is_pg && !*open->ib_is_pg)
      msg(s.g.gs_tsxx, "此委托书正在进厂处理增加维修项目！");
    else if (open->ib_sh && *open->ib_sh)
      msg(s.g.gs_tsxx, "此委托书正在完工审核增加维修项目！");
    return 0;
  }
  return manager()->open("w_svc300_03", ui::Message::of_object(lstr_1), this) ? 1 : 0;
}

}  // namespace kq::svc
