// w_svc304_01: opening, a new record and the selection lists.
#include "rework/w_svc304_01.h"

#include "framework/f_msg.h"
#include "framework/f_retu_para.h"
#include "framework/f_set_back_value.h"
#include "framework/session.h"
#include "platform/value/text.h"
#include "rework/w_svc304.h"

namespace kq::svc {
namespace {

std::string trimmed(const Str& s) { return text::trim(s.value_or("")); }

}  // namespace

w_svc304_01::w_svc304_01() : fw::w_stmm_edit("w_svc304_01", "返修登记") {
  changemenu("m_maintain_singlepop");
  dw_edit->dataobject("d_svc304_01_01");
  dw_edit.geometry = ui::Geometry{0, 0, 640, 480};
  on("", "ue_after_open", [this](const ui::Event&) { return ue_after_open(); });
}

long w_svc304_01::ue_before_open() {
  if (fw::w_stmm_edit::ue_before_open() == 0) return 0;
  is_sygsgl = fw::f_retu_para("svc", "lsygsgl").value_or("0");
  const auto* list = dynamic_cast<const w_svc304*>(parent());
  if (list && list->showing_all()) {
    dw_edit->dataobject(gsgl() ? "d_svc304_01_02_gsgl" : "d_svc304_01_02");
    dw_edit->settransobject(fw::session().sqlca);
    changemenu("m_sys_14");
  } else if (gsgl()) {
    dw_edit->dataobject("d_svc304_01_01_gsgl");
  }
  idw_width = &dw_edit;
  is_width = "ccxdm\\ccxdm/ccxmc";
  return 1;
}

long w_svc304_01::open() {
  fw::w_stmm_edit::open();
  triggerevent("ue_after_open");
  return 1;
}

long w_svc304_01::ue_after_open() {
  if (gsgl() && fw::f_retu_para("svc", "lxmzdgw").value_or("0") == "1") {
    dw_u->dw().modify("cgwdm_t.text = '*返修工位'");
    dw_u->dw().modify("cwxgwdm_t.text = '*工时控制器'");
  }
  return 1;
}

long w_svc304_01::ue_after_insert() {
  fw::w_stmm_edit::ue_after_insert();
  dw::DataWindow& d = dw_edit;
  d.accepttext();
  const long row = d.getrow();
  if (row < 1) return 1;
  const fw::Globals& g = fw::g();
  d.setitem(row, "dfxrq", g.gd_xtrq.with_time_of(DateTime::now()));
  d.setitem(row, "cczydm", g.gs_yhdm);
  d.setitem(row, "cgsh", g.gs_gsh);
  return 1;
}

long w_svc304_01::ue_click_itemchange_rownotmove() {
  fw::w_stmm_edit::ue_click_itemchange_rownotmove();
  dw::DataWindow& d = dw_edit;
  d.accepttext();
  const long row = d.getrow();
  if (row < 1) return 0;
  const std::string column = text::lower(uis_column_name);
  if (column == "cwtsbh") return choose_work_order(row);
  if (column == "cwxxmdm") return choose_item(row);
  if (column == "cbzdm") return choose_team(row);
  if (column == "czxrdm") return choose_mechanic(row);
  if (column == "cgwdm") return choose_station(row);
  if (column == "nkk") {
    const Dec ldc_gsf = d.getitemnumber(row, "ngsf"), ldc_kk = d.getitemnumber(row, "nkk");
    if (ldc_gsf && ldc_kk && *ldc_kk > *ldc_gsf) {
      msg(fw::g().gs_tsxx, "扣款金额不能大于工时费");
      return 0;
    }
  }
  return 1;
}

long w_svc304_01::choose_work_order(long row) {
  dw::DataWindow& d = dw_edit;
  if (fw::f_set_back_value(d, gsgl() ? "v_wtc304_01" : "v_svc300_01", "cwtsbh,ckhdm,ckhmc,cpzh,ccxdm,ccxmc",
                           "委托书编号,客户代码,客户名称,牌照号,车型代码,车型名称",
                           "cwtsbh,ckhdm,ckhmc,cpzh,ccxdm,ccxmc", "", "", "cgsh = :gs_gsh",
                           "cwtsbh,ckhdm,ckhmc,cpzh,ccxdm,ccxmc") < 1)
    return 0;
  for (const char* c : {"cwxxmdm", "cxmmc", "cbzdm", "cbmmc", "czxrdm", "cgrmc"}) d.setitem(row, c, Value(""));
  for (const char* c : {"ngs", "ngsf", "nkk"}) d.setitem(row, c, Value(Decimal(0)));
  if (gsgl())
    for (const char* c : {"cwxgwdm", "cgskzqmc", "cgwdm", "cwxgwmc"}) d.setitem(row, c, Value(""));
  return 1;
}

long w_svc304_01::choose_item(long row) {
  dw::DataWindow& d = dw_edit;
  const std::string ls_wtsbh = trimmed(d.getitemstring(row, "cwtsbh"));
  if (ls_wtsbh.empty()) {
    msg(fw::g().gs_tsxx, "请先选择委托书!");
    return 0;
  }
  // With labour-hour management only completed items without a rework
  // record of this work order are offered.
  const char* where = gsgl() ? "cwtsbh = :ls_wtsbh and cgsh = :gs_gsh and lwcbs = 1 and cwxxmdm not in "
                               "(select cwxxmdm from svcb50 where cwtsbh = :ls_wtsbh and cgsh = :gs_gsh)"
                             : "cwtsbh = :ls_wtsbh and cgsh = :gs_gsh";
  if (fw::f_set_back_value(d, "svcb20d", "cwxxmdm,cxmmc,ngs,ngsf,cbzdm,czxrdm",
                           "维修项目代码,项目名称,工时,工时费,班组代码,主修人代码",
                           "cwxxmdm,cxmmc,ngs,ngsf,cbzdm,czxrdm", "", "", where,
                           "cwxxmdm,cxmmc,ngs,ngsf,cbzdm,czxrdm", {{"ls_wtsbh", ls_wtsbh}}) < 1)
    return 0;
  // The names of the team and mechanic just filled; a failed read leaves them empty.
  fw::Session& s = fw::session();
  Str ls_bzmc, ls_zxrmc;
  s.sqlca.exec("select cbmmc into :ls_bzmc from sysc02 where cbmdm = :ls_bzdm and cgsh = :gs_gsh",
               {{"ls_bzdm", d.getitemstring(row, "cbzdm").value_or("")},
                {"gs_gsh", s.g.gs_gsh},
                {"ls_bzmc", db::out(ls_bzmc)}});
  s.sqlca.exec("select cgrmc into :ls_zxrmc from sysc03 where cgrdm = :ls_zxrdm and cgsh = :gs_gsh",
               {{"ls_zxrdm", d.getitemstring(row, "czxrdm").value_or("")},
                {"gs_gsh", s.g.gs_gsh},
                {"ls_zxrmc", db::out(ls_zxrmc)}});
  d.setitem(row, "cbmmc", ls_bzmc ? Value(*ls_bzmc) : Value::null(Type::String));
  d.setitem(row, "cgrmc", ls_zxrmc ? Value(*ls_zxrmc) : Value::null(Type::String));
  return 1;
}

long w_svc304_01::choose_team(long row) {
  (void)row;
  dw::DataWindow& d = dw_edit;
  const int chosen =
      gsgl() ? fw::f_set_back_value(d, "sysc02", "cbmdm,cbmmc", "班组代码,班组名称", "cbmdm,cbmmc", "", "",
                                    "cgsh = :gs_gsh and lmjbmbs = 1 and ltybs = 0 and cbmsx = '1'", "cbzdm,cbmmc")
             : fw::f_set_back_value(d, "v_svc300_bzxz", "cbmdm,cbmmc,czt,dwgrq", "班组代码,班组名称,状态,预计完工时间",
                                    "cbmdm,cbmmc", "", "", "cgsh = :gs_gsh", "cbzdm,cbmmc");
  return chosen < 1 ? 0 : 1;
}

long w_svc304_01::choose_mechanic(long row) {
  dw::DataWindow& d = dw_edit;
  fw::Session& s = fw::session();
  const std::string ls_bzdm = d.getitemstring(row, "cbzdm").value_or("");
  int chosen = 0;
  if (ls_bzdm.empty()) {
    chosen = gsgl()
                 ? fw::f_set_back_value(d, "v_bm_gr_grlb", "cgrdm,cgrmc,cssbmdm,cbmmc",
                                        "人员代码,人员姓名,所属班组代码,班组名称", "cgrdm,cgrmc,cssbmdm,cbmmc", "", "",
                                        "cgsh = :gs_gsh and ltybs = 0 and cgrlbdm = '6' and cssbmdm in "
                                        "(select cbmdm from sysc02 where cbmsx = '1' and cgsh = :gs_gsh)",
                                        "czxrdm,cgrmc,cbzdm,cbmmc")
                 : fw::f_set_back_value(d, "v_svc300_zxrxz", "cgrdm,cgrmc,cssbmdm,cbmmc,czt,dwgrq",
                                        "人员代码,人员姓名,所属班组代码,班组名称,状态,预计完工时间",
                                        "cgrdm,cgrmc,cssbmdm,cbmmc", "", "", "cgsh = :gs_gsh",
                                        "czxrdm,cgrmc,cbzdm,cbmmc");
    return chosen < 1 ? 0 : 1;
  }
  Long li_count;
  s.sqlca.exec(
      "select count ( *) into :li_count from v_bm_gr_grlb "
      "where ltybs = 0 and cgrlbdm = '6' and cssbmdm = :ls_bzdm and cgsh = :gs_gsh",
      {{"ls_bzdm", ls_bzdm}, {"gs_gsh", s.g.gs_gsh}, {"li_count", db::out(li_count)}});
  if (!li_count || *li_count < 1) {
    fw::messagebox(s.g.gs_tsxx, "该班组没有主修人，请先维护该班组对应主修人！", ui::Icon::Exclamation);
    return 0;
  }
  const char* none = "该班组没有主修人，请先维护该班组对应主修人！";
  chosen = gsgl() ? fw::f_set_back_value(d, "v_bm_gr_grlb", "cgrdm,cgrmc", "人员代码,人员姓名", "cgrdm,cgrmc", none, "",
                                         "ltybs = 0 and cgrlbdm = '6' and cssbmdm = :ls_bzdm and cgsh = :gs_gsh",
                                         "czxrdm,cgrmc", {{"ls_bzdm", ls_bzdm}})
                  : fw::f_set_back_value(d, "v_svc300_zxrxz", "cgrdm,cgrmc,czt,dwgrq", "人员代码,人员姓名,状态,预计完工时间",
                                         "cgrdm,cgrmc", none, "", "cssbmdm = :ls_bzdm and cgsh = :gs_gsh",
                                         "czxrdm,cgrmc", {{"ls_bzdm", ls_bzdm}});
  return chosen < 1 ? 0 : 1;
}

long w_svc304_01::choose_station(long row) {
  (void)row;
  return fw::f_set_back_value(dw_edit, "v_wtcc01", "cwxgwdm,cwxgwmc,cgskzqdm,cgskzqmc",
                              "修理工位代码,修理工位名称,工时控制器代码,工时控制器名称",
                              "cwxgwdm,cwxgwmc,cgskzqdm,cgskzqmc", "", "", "ltybs = 0 and cgsh = :gs_gsh",
                              "cgwdm,cwxgwmc,cwxgwdm,cgskzqmc") < 1
             ? 0
             : 1;
}

}  // namespace kq::svc
