#include "framework/f_wtc_gwgwq.h"

#include <iostream>
#include <string>

#include "framework/f_msg.h"
#include "framework/f_retu_para.h"
#include "framework/session.h"
#include "platform/value/text.h"

namespace kq::fw {
namespace {

int refuse(std::string_view text) {
  f_msg(g().gs_tsxx, text, ui::Icon::Exclamation);
  return 0;
}

}  // namespace

int f_wtc_gwgwq(const Str& station, const Str& controller) {
  const std::string gw = text::trim(station.value_or(""));
  const std::string kzq = text::trim(controller.value_or(""));
  if (gw.empty() && kzq.empty()) {
    if (f_retu_para("svc", "lxmzdgw").value_or("0") == "1") return refuse("请选择返修工位！");
    return 1;
  }
  if (gw.empty()) return refuse("请先选择返修工位！");

  Session& s = session();
  SqlcaStatusGuard keep(s.sqlca);
  Str station_controller;
  s.sqlca.exec(
      "select top 1 isnull(cgskzqdm, '') into :ls_kzq from v_wtcc01 "
      "where cwxgwdm = :ls_gw and ltybs = 0 and cgsh = :gs_gsh",
      {{"ls_gw", gw}, {"gs_gsh", s.g.gs_gsh}, {"ls_kzq", db::out(station_controller)}});
  if (s.sqlca.sqlcode == -1) {
    std::cerr << "kq_svc_309: f_wtc_gwgwq: " << s.sqlca.sqlerrtext << '\n';
    return refuse("读取返修工位信息失败！");
  }
  if (s.sqlca.sqlcode == 100) return refuse("返修工位不存在或已停用！");
  const std::string expected = text::trim(station_controller.value_or(""));
  if (expected.empty()) return refuse("该返修工位没有工时控制器，不能下传！");
  if (kzq != expected) return refuse("工时控制器与返修工位不对应！");
  return 1;
}

}  // namespace kq::fw
