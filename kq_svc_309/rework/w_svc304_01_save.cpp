// w_svc304_01: validation, the writes of a save, and the delete.
#include <string>

#include "framework/f_delete_remind.h"
#include "framework/f_msg.h"
#include "framework/f_recorder_exist.h"
#include "framework/f_sqlca.h"
#include "framework/f_wtc_gwgwq.h"
#include "framework/session.h"
#include "platform/value/text.h"
#include "rework/rework_flag.h"
#include "rework/w_svc304_01.h"

namespace kq::svc {
namespace {

std::string trimmed(const Str& s) { return text::trim(s.value_or("")); }

}  // namespace

Decimal w_svc304_01::terminal_time(const Dec& hours, const Dec& unit) {
  if (!hours || !unit || unit->is_zero()) return Decimal(0);
  return Decimal::divide(*hours, *unit).value_or(Decimal(0)).round(2);
}

std::string w_svc304_01::work_order_serial(const std::string& wtsbh) {
  if (wtsbh.empty()) return "";
  return wtsbh.substr(0, 1) + (wtsbh.size() > 6 ? wtsbh.substr(6) : "");
}

long w_svc304_01::ue_valid_check() {
  if (fw::w_stmm_edit::ue_valid_check() == 0) return 0;
  dw::DataWindow& d = dw_edit;
  const long row = d.getrow();
  if (row < 1) return 1;
  fw::Session& s = fw::session();
  const std::string& tsxx = s.g.gs_tsxx;

  const std::string ls_wtsbh = trimmed(d.getitemstring(row, "cwtsbh"));
  if (!fw::f_recorder_exist("v_svc300_01", "cgsh = :gs_gsh and cwtsbh = :ls_wtsbh",
                            {{"gs_gsh", s.g.gs_gsh}, {"ls_wtsbh", ls_wtsbh}})) {
    msg(tsxx, "委托书编号不存在!");
    return 0;
  }
  const std::string ls_wxxmdm = trimmed(d.getitemstring(row, "cwxxmdm"));
  if (!fw::f_recorder_exist("svcb20d", "cwtsbh = :ls_wtsbh and cwxxmdm = :ls_wxxmdm and cgsh = :gs_gsh",
                            {{"ls_wtsbh", ls_wtsbh}, {"ls_wxxmdm", ls_wxxmdm}, {"gs_gsh", s.g.gs_gsh}})) {
    msg(tsxx, "维修项目在该委托书中不存在!");
    return 0;
  }
  Str ls_wxxm;
  s.sqlca.exec("select cxmmc into :ls_wxxm from svcb20d where cwtsbh = :ls_wtsbh and cwxxmdm = :ls_wxxmdm and cgsh = :gs_gsh",
               {{"ls_wtsbh", ls_wtsbh}, {"ls_wxxmdm", ls_wxxmdm}, {"gs_gsh", s.g.gs_gsh}, {"ls_wxxm", db::out(ls_wxxm)}});
  if (fw::f_sqlca("读取委托书修理项目名称失败！") == 0) return 0;
  // The record keeps the key as checked and the name the work order gives.
  d.setitem(row, "cwtsbh", Value(ls_wtsbh));
  d.setitem(row, "cwxxmdm", Value(ls_wxxmdm));
  d.setitem(row, "cxmmc", ls_wxxm ? Value(*ls_wxxm) : Value::null(Type::String));

  const std::string ls_bz = trimmed(d.getitemstring(row, "cbzdm"));
  if (!fw::f_recorder_exist("sysc02", "cgsh = :gs_gsh and cbmdm = :ls_bz and ltybs = 0 and cbmsx = '1'",
                            {{"gs_gsh", s.g.gs_gsh}, {"ls_bz", ls_bz}})) {
    msg(tsxx, "班组代码不存在!");
    return 0;
  }
  const std::string ls_zxr = trimmed(d.getitemstring(row, "czxrdm"));
  if (!ls_zxr.empty() &&
      !fw::f_recorder_exist("v_bm_gr_grlb",
                            "cgsh = :gs_gsh and cgrdm = :ls_zxr and ltybs = 0 and cgrlbdm = '6' and cssbmdm = :ls_bz",
                            {{"gs_gsh", s.g.gs_gsh}, {"ls_zxr", ls_zxr}, {"ls_bz", ls_bz}})) {
    msg(tsxx, "主修人代码不存在!");
    return 0;
  }
  const Dec ldc_gs = d.getitemnumber(row, "ngs"), ldc_gsf = d.getitemnumber(row, "ngsf"),
            ldc_kk = d.getitemnumber(row, "nkk");
  const Decimal zero(0);
  if (ldc_gs && *ldc_gs < zero) return msg(tsxx, "工时不能小于零！"), 0;
  if (ldc_gsf && *ldc_gsf < zero) return msg(tsxx, "工时费不能小于零！"), 0;
  if (ldc_kk && *ldc_kk < zero) return msg(tsxx, "扣款金额不能小于零！"), 0;
  if (ldc_kk && ldc_gsf && *ldc_kk > *ldc_gsf) return msg(tsxx, "扣款金额不能大于工时费"), 0;

  if (!gsgl()) return 1;
  const long urow = dw_u->dw().getrow();
  return fw::f_wtc_gwgwq(dw_u->dw().getitemstring(urow, "cgwdm"), dw_u->dw().getitemstring(urow, "cwxgwdm")) != 0
             ? 1
             : 0;
}

long w_svc304_01::ue_before_update() {
  if (fw::w_stmm_edit::ue_before_update() == 0) return 0;
  if (!gsgl()) return 1;
  dw::DataWindow& u = dw_u->dw();
  u.accepttext();
  const long row = u.getrow();
  if (row < 1) return 0;
  fw::Session& s = fw::session();
  const std::string ls_wtsbh = u.getitemstring(row, "cwtsbh").value_or("");
  const std::string ls_wtslsh = work_order_serial(ls_wtsbh);

  Dec ldc_sjdw;
  s.sqlca.exec("select top 1 nsjdw into :ldc_sjdw from wtci90 where cgsh = :gs_gsh",
               {{"gs_gsh", s.g.gs_gsh}, {"ldc_sjdw", db::out(ldc_sjdw)}});
  if (fw::f_sqlca("读取工时管理时间单位信息设置失败！") == 0) return 0;

  const std::string ls_pzh = u.getitemstring(row, "cpzh").value_or("");
  const std::string ls_xmh = u.getitemstring(row, "cwxxmdm").value_or("");
  const std::string ls_gskzqdm = u.getitemstring(row, "cwxgwdm").value_or("");
  const Decimal ldc_gs = terminal_time(u.getitemdecimal(row, "ngs"), ldc_sjdw);
  const DateTime ldt_now = DateTime::now();
  const std::string ls_gwdm = u.getitemstring(row, "cgwdm").value_or("");

  Long li_count;
  s.sqlca.exec("select count ( *) into :li_count from wtcb01c where cwtsbh = :ls_wtsbh and cwxxmdm = :ls_xmh and lfxbs = 1 and cgsh = :gs_gsh",
               {{"ls_wtsbh", ls_wtsbh}, {"ls_xmh", ls_xmh}, {"gs_gsh", s.g.gs_gsh}, {"li_count", db::out(li_count)}});
  if (fw::f_sqlca("下传维修项目信息失败！") == 0) return 0;
  if (!li_count || *li_count < 1) {
    s.sqlca.exec(
        "insert into wtcb01c ( dxcrq , cwtslsh , cwtsbh , cpzh , ckh , cwxxmdm , cwxgwdm , dpgsj , lzjbs , lfxbs , lzt , nscsj , cgwdm , cgsh ) "
        "select :ldt_now , :ls_wtslsh , :ls_wtsbh , :ls_pzh , '11111111' , :ls_xmh , :ls_gskzqdm , :ldt_now , 0 , 1 , 1 , :ldc_gs , :ls_gwdm , :gs_gsh",
        {{"ldt_now", ldt_now}, {"ls_wtslsh", ls_wtslsh}, {"ls_wtsbh", ls_wtsbh}, {"ls_pzh", ls_pzh},
         {"ls_xmh", ls_xmh}, {"ls_gskzqdm", ls_gskzqdm}, {"ldc_gs", ldc_gs}, {"ls_gwdm", ls_gwdm},
         {"gs_gsh", s.g.gs_gsh}});
  } else {
    s.sqlca.exec(
        "update wtcb01c set cwxgwdm = :ls_gskzqdm , dpgsj = :ldt_now , nscsj = :ldc_gs , cgwdm = :ls_gwdm , lzt = 1 "
        "where cwtsbh = :ls_wtsbh and cwxxmdm = :ls_xmh and lfxbs = 1 and cgsh = :gs_gsh",
        {{"ls_gskzqdm", ls_gskzqdm}, {"ldt_now", ldt_now}, {"ldc_gs", ldc_gs}, {"ls_gwdm", ls_gwdm},
         {"ls_wtsbh", ls_wtsbh}, {"ls_xmh", ls_xmh}, {"gs_gsh", s.g.gs_gsh}});
  }
  return fw::f_sqlca("下传维修项目信息失败！") != 0 ? 1 : 0;
}

long w_svc304_01::ue_before_commit() {
  if (fw::w_stmm_edit::ue_before_commit() == 0) return 0;
  dw::DataWindow& d = dw_edit;
  const long row = d.getrow();
  if (row < 1) return 0;
  const Str wtsbh = d.getitemstring(row, "cwtsbh"), wxxmdm = d.getitemstring(row, "cwxxmdm"),
            wxxmmc = d.getitemstring(row, "cxmmc");
  fw::Session& s = fw::session();
  if (!wtsbh || !wxxmdm || !wxxmmc) {
    msg(s.g.gs_tsxx, "修改该委托书的的返工标识失败!");
    return 0;
  }
  s.sqlca.exec("update svcb20d set lfgbs = 1 where cwtsbh = :ls_wtsbh and cwxxmdm = :ls_wxxmdm and cxmmc = :ls_wxxmmc",
               {{"ls_wtsbh", text::trim(*wtsbh)}, {"ls_wxxmdm", text::trim(*wxxmdm)}, {"ls_wxxmmc", text::trim(*wxxmmc)}});
  if (s.sqlca.sqlcode == -1) {
    msg(s.g.gs_tsxx, "修改该委托书的的返工标识失败!");
    return 0;
  }
  return 1;
}

long w_svc304_01::ue_do_delete() {
  dw::DataWindow& u = dw_u->dw();
  fw::Session& s = fw::session();
  if (u.rowcount() == 0) {
    msg(s.g.gs_tsxx, "没有要删除的行！");
    return 0;
  }
  if (gsgl() && u.getitemnumber(u.getrow(), "lksbs") == Decimal(1)) {
    fw::messagebox(s.g.gs_tsxx, "项目已经开始维修，不能删除", ui::Icon::Exclamation);
    return 0;
  }
  if (fw::f_delete_remind("singletable", is_primarykey, u) == 2) return 0;
  dw_d->dw().accepttext();
  if (dw_d->dw().getrow() != 0 && triggerevent("ue_before_delete") == 0) return 0;
  if (triggerevent("ue_execute_delete") == 0) return 0;
  if (triggerevent("ue_after_delete") == 0) {
    triggerevent("ue_execute_cancel");
    return 0;
  }
  if (triggerevent("ue_execute_update") == 0) return 0;
  if (triggerevent("ue_execute_commit") == 0) return 0;
  if (ui::Window* list = parent(); list && list->is_open()) list->triggerevent("ue_refresh");
  return 1;
}

long w_svc304_01::ue_before_delete() {
  fw::w_stmm_edit::ue_before_delete();
  dw::DataWindow& d = dw_edit;
  const long row = d.getrow();
  is_wtsbh = d.getitemstring(row, "cwtsbh").value_or("");
  is_xmdm = d.getitemstring(row, "cwxxmdm").value_or("");
  is_xmmc = d.getitemstring(row, "cxmmc").value_or("");
  return 1;
}

long w_svc304_01::ue_after_delete() {
  if (fw::w_stmm_edit::ue_after_delete() == 0) return 0;
  return clear_rework(is_wtsbh, is_xmdm, is_xmmc, gsgl()) ? 1 : 0;
}

}  // namespace kq::svc
