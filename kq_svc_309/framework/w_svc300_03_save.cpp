// The save of w_svc300_03: the team and main mechanic of each changed repair
// item, in one unit of work on sqlca.
#include <iostream>
#include <string>

#include "framework/f_msg.h"
#include "framework/session.h"
#include "framework/w_svc300_03.h"

namespace kq::fw {
namespace {

// Rolls the unit of work back, then tells the person: the shop's write lock
// is never held while a message box waits.
long fail(Session& s, const std::string& text) {
  const std::string error = s.sqlca.sqlerrtext;
  s.sqlca.rollback();
  if (!error.empty()) std::cerr << "kq_svc_309: w_svc300_03: " << text << " " << error << '\n';
  f_msg(s.g.gs_tsxx, text, ui::Icon::StopSign);
  return 0;
}

}  // namespace

long w_svc300_03::wf_save() {
  if (!ib_editable) return 0;
  if (dw_1->accepttext() == -1) return 0;
  if (dw_1->modifiedcount() == 0) return 0;
  Session& s = session();

  for (long row = 1; row <= dw_1->rowcount(); ++row) {
    if (dw_1->getitemstatus(row, 0) == dw::ItemStatus::NotModified) continue;
    s.sqlca.exec(
        "update svcb20d set cbzdm = :ls_bzdm , czxrdm = :ls_zxrdm "
        "where cwtsbh = :ls_wtsbh and cwxxmdm = :ls_xmdm and cxmmc = :ls_xmmc and cgsh = :gs_gsh",
        {{"ls_bzdm", dw_1->getitemstring(row, "cbzdm").value_or("")},
         {"ls_zxrdm", dw_1->getitemstring(row, "czxrdm").value_or("")},
         {"ls_wtsbh", is_wtsbh},
         {"ls_xmdm", dw_1->getitemstring(row, "cwxxmdm").value_or("")},
         {"ls_xmmc", dw_1->getitemstring(row, "cxmmc").value_or("")},
         {"gs_gsh", s.g.gs_gsh}});
    if (s.sqlca.sqlcode == -1) return fail(s, "保存派工信息失败！");
    if (s.sqlca.sqlcode == 100) return fail(s, "维修项目已被其他用户修改，请关闭后重新派工！");
  }

  // Checked under the unit's write lock: no settlement slips in between.
  Str ls_zt;
  s.sqlca.exec("select cwxzt into :ls_zt from svcb20c where cwtsbh = :ls_wtsbh and cgsh = :gs_gsh",
               {{"ls_wtsbh", is_wtsbh}, {"gs_gsh", s.g.gs_gsh}, {"ls_zt", db::out(ls_zt)}});
  if (s.sqlca.sqlcode == -1) return fail(s, "读取委托书状态失败！");
  if (s.sqlca.sqlcode == 100 || ls_zt.value_or("") != "0") return fail(s, "该委托书已不在修，不能派工！");

  if (s.sqlca.commit() != 0) return fail(s, "数据提交失败！");
  dw_1->resetupdate();
  retrieve_items();
  f_msg(s.g.gs_tsxx, "保存成功！");
  return 1;
}

}  // namespace kq::fw
