#include "framework/w_svc300_03.h"

#include <iostream>

#include "framework/f_msg.h"
#include "framework/f_retu_para.h"
#include "framework/f_select_current_row.h"
#include "framework/f_set_back_value.h"
#include "framework/session.h"
#include "framework/us_svc_xlxm.h"
#include "platform/value/text.h"

namespace kq::fw {

w_svc300_03::w_svc300_03()
    : ui::Window("w_svc300_03", "维修项目"),
      st_1(add_control("st_1", ui::ControlKind::StaticText)),
      dw_1(add<ui::DataWindowControl>("dw_1")),
      cb_1(add_control("cb_1", ui::ControlKind::CommandButton, "班组(&B)")),
      cb_2(add_control("cb_2", ui::ControlKind::CommandButton, "主修人(&M)")),
      cb_3(add_control("cb_3", ui::ControlKind::CommandButton, "保存(&S)")),
      cb_4(add_control("cb_4", ui::ControlKind::CommandButton, "关闭(&C)")) {
  dw_1->dataobject("d_svc300_03_01");
  st_1.geometry = ui::Geometry{8, 8, 420, 24};
  cb_1.geometry = ui::Geometry{440, 4, 90, 30};
  cb_2.geometry = ui::Geometry{536, 4, 90, 30};
  cb_3.geometry = ui::Geometry{632, 4, 80, 30};
  cb_4.geometry = ui::Geometry{718, 4, 80, 30};
  dw_1.geometry = ui::Geometry{0, 40, 800, 400};
  inv_resize.of_register(dw_1, 0, 0, 100, 100);
  for (ui::Control* c : {&cb_1, &cb_2, &cb_3}) c->enabled = false;
  on("cb_1", "clicked", [this](const ui::Event&) { return cb_1_clicked(); });
  on("cb_2", "clicked", [this](const ui::Event&) { return cb_2_clicked(); });
  on("cb_3", "clicked", [this](const ui::Event&) { return cb_3_clicked(); });
  on("cb_4", "clicked", [this](const ui::Event&) { return cb_4_clicked(); });
  on("dw_1", "doubleclicked", [this](const ui::Event& e) { return dw_1_doubleclicked(e.row, e.column); });
}

long w_svc300_03::open() {
  const us_svc_xlxm* p = parameter().object_as<us_svc_xlxm>();
  if (!p) return 1;
  is_type = p->ctype;
  ib_is_pg = p->ctype == "PG";
  ib_sh = p->ctype == "SH";
  is_wtsbh = text::trim(p->cwtsbh);
  st_1.text = "委托书编号：" + is_wtsbh;

  Session& s = session();
  if (f_retu_para("svc", "lsygsgl").value_or("0") != "1") dw_1->modify("cgwdm.visible = 0 cwxgwmc.visible = 0");
  dw_1->settransobject(s.sqlca);
  if (!retrieve_items()) return 1;

  if (*ib_is_pg) {
    Str ls_zt;
    s.sqlca.exec("select cwxzt into :ls_zt from svcb20c where cwtsbh = :ls_wtsbh and cgsh = :gs_gsh",
                 {{"ls_wtsbh", is_wtsbh}, {"gs_gsh", s.g.gs_gsh}, {"ls_zt", db::out(ls_zt)}});
    if (s.sqlca.sqlcode == -1) {
      std::cerr << "kq_svc_309: w_svc300_03: " << s.sqlca.sqlerrtext << '\n';
      f_msg(s.g.gs_tsxx, "读取委托书状态失败！", ui::Icon::StopSign);
      return 1;
    }
    ib_editable = s.sqlca.sqlcode == 0 && ls_zt.value_or("") == "0";
    if (!ib_editable) st_1.text += "（不在修，不能派工）";
  }
  for (ui::Control* c : {&cb_1, &cb_2, &cb_3}) c->enabled = ib_editable;
  dw_1.setfocus();
  return 1;
}

bool w_svc300_03::retrieve_items() {
  Session& s = session();
  if (dw_1->retrieve(Value(is_wtsbh)) < 0) {
    std::cerr << "kq_svc_309: w_svc300_03: " << s.sqlca.sqlerrtext << '\n';
    f_msg(s.g.gs_tsxx, "读取维修项目失败！", ui::Icon::StopSign);
    return false;
  }
  if (dw_1->rowcount() > 0) f_select_current_row(dw_1);
  return true;
}

long w_svc300_03::wf_choose_team() {
  const long row = dw_1->getrow();
  if (!ib_editable || row < 1) return 0;
  const std::string before = dw_1->getitemstring(row, "cbzdm").value_or("");
  if (f_set_back_value(dw_1, "v_svc300_bzxz", "cbmdm,cbmmc,czt,dwgrq", "班组代码,班组名称,状态,预计完工时间",
                       "cbmdm,cbmmc", "没有可以派工的班组！", "", "cgsh = :gs_gsh", "cbzdm,cbmmc") != 1)
    return 0;
  if (dw_1->getitemstring(row, "cbzdm").value_or("") != before) {
    dw_1->setitem(row, "czxrdm", Value(std::string()));
    dw_1->setitem(row, "cgrmc", Value(std::string()));
  }
  return 1;
}

long w_svc300_03::wf_choose_mechanic() {
  const long row = dw_1->getrow();
  if (!ib_editable || row < 1) return 0;
  const std::string team = text::trim(dw_1->getitemstring(row, "cbzdm").value_or(""));
  if (team.empty()) {
    f_msg(session().g.gs_tsxx, "请先选择班组！", ui::Icon::Exclamation);
    return 0;
  }
  return f_set_back_value(dw_1, "v_svc300_zxrxz", "cgrdm,cgrmc,cbmmc,czt,dwgrq",
                          "主修人代码,主修人姓名,班组名称,状态,预计完工时间", "cgrdm,cgrmc",
                          "该班组没有可以派工的主修人！", "", "cgsh = :gs_gsh and cssbmdm = :ls_bzdm",
                          "czxrdm,cgrmc", {{"ls_bzdm", team}}) == 1
             ? 1
             : 0;
}

long w_svc300_03::cb_1_clicked() { return wf_choose_team(); }
long w_svc300_03::cb_2_clicked() { return wf_choose_mechanic(); }
long w_svc300_03::cb_3_clicked() { return wf_save(); }
long w_svc300_03::cb_4_clicked() { return ui::close(*this); }

long w_svc300_03::dw_1_doubleclicked(long row, const std::string& dwo) {
  if (row < 1) return 0;
  const std::string column = text::lower(dwo);
  if (column == "cbzdm" || column == "cbmmc") return wf_choose_team();
  if (column == "czxrdm" || column == "cgrmc") return wf_choose_mechanic();
  return 0;
}

}  // namespace kq::fw
