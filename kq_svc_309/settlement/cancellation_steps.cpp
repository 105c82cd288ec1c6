// The header, receipt, statistics, finance, invoice and account steps of the
// cancellation commit, and its end (commit, log, list refreshed).
#include "settlement/cancellation_steps.h"

#include "framework/f_acr_qxcwjs.h"
#include "framework/f_grmc.h"
#include "framework/f_log_operate.h"
#include "framework/f_retu_para.h"
#include "framework/f_select_current_row.h"
#include "framework/f_sqlca.h"
#include "framework/session.h"
#include "platform/value/format.h"
#include "platform/value/text.h"
#include "settlement/cancellation_status.h"
#include "settlement/w_svc305.h"
#include "settlement/w_svc305_01.h"

namespace kq::svc {
namespace {

// Decimal of a parameter text; null or not a number → null.
Dec decimal_of(const Str& s) { return Value(s).as_decimal(); }

}  // namespace

Cancellation::Cancellation(w_svc305_01& window, const CancellationRequest& request)
    : w(window), r(request), g(fw::g()), sqlca(fw::session().sqlca), edit(window.dw_edit) {}

bool Cancellation::msg_fail(bool failed, std::string_view text) {
  if (!failed) return false;
  w.msg(g.gs_tsxx, text);
  return true;
}

void archive_slip(Cancellation& c) {
  fw::Globals& g = c.g;
  if (c.w.dw_jsd->retrieve(c.r.is_wtsbh, g.gs_gsh) != 1) return;
  dw::DataWindow& jsd = c.w.dw_jsd;
  const DateTime absent = DateTime::absent();
  const DateTime ldt_now = g.gd_xtrq.with_time_of(DateTime::now());
  const Blob lb_jsd = jsd.state_blob();
  c.sqlca.exec(
      "insert into svcb61 ( ctype , nver , cwtsbh , dsxrq , djsrq , ckhmc , ccxmc , cpzh , cdph , cjszt , nhjje , "
      "nysje , ddate , cfwgwmc , cczydm , cczymc , cbz , cgsh ) values ( '1' , 1 , :is_wtsbh , :ldt_sxrq , "
      ":ldt_jsrq , :ls_khmc , :ls_cxmc , :ls_pzh , :ls_dph , :is_ywxzt , :ldc_hjje , :ldc_zsje , :ldt_now , "
      ":ls_fwgwxm , :gs_yhdm , :ls_czyxm , :ls_yysm , :gs_gsh )",
      {{"is_wtsbh", c.r.is_wtsbh},
       {"ldt_sxrq", jsd.getitemdatetime(1, "dsxrq").value_or(absent)},
       {"ldt_jsrq", jsd.getitemdatetime(1, "djsrq").value_or(absent)},
       {"ls_khmc", jsd.getitemstring(1, "ckhmc").value_or("")},
       {"ls_cxmc", jsd.getitemstring(1, "ccxmc").value_or("")},
       {"ls_pzh", jsd.getitemstring(1, "cpzh").value_or("")},
       {"ls_dph", jsd.getitemstring(1, "cdph").value_or("")},
       {"is_ywxzt", c.r.is_ywxzt},
       {"ldc_hjje", jsd.getitemdecimal(1, "nhjje").value_or(0)},
       {"ldc_zsje", jsd.getitemdecimal(1, "nzsje").value_or(0)},
       {"ldt_now", ldt_now},
       {"ls_fwgwxm", jsd.getitemstring(1, "cfwgwxm").value_or("")},
       {"gs_yhdm", g.gs_yhdm},
       {"ls_czyxm", fw::f_grmc(g.gs_yhdm).value_or("")},
       {"ls_yysm", c.r.ls_yysm},
       {"gs_gsh", g.gs_gsh}});
  if (c.sqlca.sqlcode != 0) return;
  // The blob goes to the row just inserted (two cancellations within one
  // second must not share a slip).
  Long ll_id;
  c.sqlca.exec("select scope_identity ( ) into :ll_id", {{"ll_id", db::out(ll_id)}});
  if (c.sqlca.sqlcode == 0 && ll_id)
    c.sqlca.exec("updateblob svcb61 set cblob = :lb_jsd where id = :ll_id and cgsh = :gs_gsh",
                 {{"lb_jsd", lb_jsd}, {"ll_id", *ll_id}, {"gs_gsh", g.gs_gsh}});
}

bool read_total(Cancellation& c) {
  c.sqlca.exec("select top 1 nhjje into :ldc_hjje from v_svc300_01 where cwtsbh = :is_wtsbh and cgsh = :gs_gsh",
               {{"is_wtsbh", c.r.is_wtsbh}, {"gs_gsh", c.g.gs_gsh}, {"ldc_hjje", db::out(c.ldc_hjje)}});
  return fw::f_sqlca("读取委托书合计金额失败") != 0;
}

bool reset_header(Cancellation& c) {
  c.ls_skxf = text::trim(c.edit.getitemstring(c.r.row, "cskxf").value_or(""));
  if (c.ls_skxf.empty()) c.ls_skxf = "0";
  std::string ls_xchs = text::trim(fw::f_retu_para("svc", "LXCHS").value_or(""));
  std::string ls_xjhs = text::trim(fw::f_retu_para("spa", "LXJHS").value_or(""));
  if (ls_xchs.empty()) ls_xchs = "1";
  if (ls_xjhs.empty()) ls_xjhs = "1";
  const Decimal ldc_gssl = decimal_of(fw::f_retu_para("svc", "NGFSL")).value_or(0);
  const Decimal ldc_clsl = decimal_of(fw::f_retu_para("spa", "NBJXJSL")).value_or(0);

  // Only while the settlement still has the status this window read, so
  // that two workstations cannot cancel it twice; no row is a failure. The
  // charges go back to the undiscounted amounts (nysgsf, nysclf), taxed
  // again when prices do not include tax.
  c.sqlca.exec(
      "update svcb20c set cwxzt = :is_wxzt , djsrq = '1900/01/01' , cjsfs = '' , cdbr = '' , cscbs = '0' , "
      "cscbs1 = '0' , nhykbcjf = 0 , nhykbcxfje = 0 , ngsyhl = 0 , nclyhl = 0 , nhjyh = 0 , nyhhgsf = nysgsf , "
      "nssgsf = case :ls_xchs when '1' then nysgsf else nysgsf *( 1 + :ldc_gssl / 100 ) end , nyhhclf = nysclf , "
      "nssclf = case :ls_xjhs when '1' then nysclf else nysclf *( 1 + :ldc_clsl / 100 ) end , cskxf = :ls_skxf , "
      "nhykczje = 0 , nhykscjf = 0 , nhykscye = 0 where cwtsbh = :is_wtsbh and cgsh = :gs_gsh and cwxzt = :is_ywxzt",
      {{"is_wxzt", c.r.is_wxzt}, {"ls_xchs", ls_xchs}, {"ldc_gssl", ldc_gssl}, {"ls_xjhs", ls_xjhs},
       {"ldc_clsl", ldc_clsl}, {"ls_skxf", c.ls_skxf}, {"is_wtsbh", c.r.is_wtsbh}, {"gs_gsh", c.g.gs_gsh},
       {"is_ywxzt", c.r.is_ywxzt}});
  return !c.msg_fail(c.sqlca.sqlcode != 0, "更改结算状态失败!");
}

bool remove_receipts(Cancellation& c) {
  c.sqlca.exec("delete from sysb13 where cdydjh = :is_wtsbh and cbs = '3'", {{"is_wtsbh", c.r.is_wtsbh}});
  return !c.msg_fail(c.sqlca.sqlcode == -1, "更新累计收款信息表失败!");
}

bool reverse_customer_statistics(Cancellation& c) {
  const CancellationRequest& r = c.r;
  const std::string ls_fplxdm = text::trim(c.edit.getitemstring(r.row, "cfplxdm").value_or(""));
  const std::string ls_cwaz = fw::f_retu_para("sys", "lcwaz").value_or("");
  if (!((r.is_ywxzt == "1" && r.is_wxzt == "0") ||
        (r.is_ywxzt == "2" && r.is_wxzt == "0" && !ls_fplxdm.empty() && ls_cwaz == "1")))
    return true;
  const std::string k = text::left(r.is_wtsbh, 1);
  std::string set;
  if (r.ii_mfbs == 1) {
    set = k == "0" ? "crmc04.ngs = crmc04.ngs - svcb20c.ngs , crmc04.nmfwxcs = crmc04.nmfwxcs - 1 , "
                     "crmc04.nbycs = crmc04.nbycs - 1"
                   : "crmc04.ngs = crmc04.ngs - svcb20c.ngs , crmc04.nmfwxcs = crmc04.nmfwxcs - 1";
  } else {
    const long li_sbbs = Value(c.edit.getitemnumber(r.row, "lsbbs")).as_long().value_or(0);
    set = (k == "2" || li_sbbs == 1)
              ? "crmc04.nwxcslj = crmc04.nwxcslj - 1 , crmc04.nbycs = crmc04.nbycs - 1 , "
                "crmc04.ngs = crmc04.ngs - svcb20c.ngs , crmc04.nljje = crmc04.nljje - svcb20c.nhjje"
              : "crmc04.nwxcslj = crmc04.nwxcslj - 1 , crmc04.ngs = crmc04.ngs - svcb20c.ngs , "
                "crmc04.nljje = crmc04.nljje - svcb20c.nhjje";
  }
  c.sqlca.exec("update crmc04 set " + set +
                   " from svcb20c , crmc04 where svcb20c.cwtsbh = :is_wtsbh and svcb20c.id = crmc04.id and "
                   "svcb20c.cgsh = crmc04.cgsh and svcb20c.cgsh = :gs_gsh and ltybs = 0",
               {{"is_wtsbh", r.is_wtsbh}, {"gs_gsh", c.g.gs_gsh}});
  return !c.msg_fail(c.sqlca.sqlcode == -1, "更新该委托书的客户档案失败!");
}

bool run_finance_hook(Cancellation& c) {
  if (c.g.gi_cwaz != 1) return true;
  return fw::f_acr_qxcwjs_valid(c.edit, 1) != 0 && fw::f_acr_qxcwjs(c.edit, 1) != 0;
}

bool reset_invoice(Cancellation& c) {
  c.sqlca.exec("update svcb20c set cfph = '' , dfprq = '' , cfplxdm = '' , nzsje = 0 , nhjje = 0 , nhjse = 0 , "
               "lcwskwb = 0 , nljsk = 0 , nclcb = 0 , nsplfcb = 0 where cwtsbh = :is_wtsbh and cgsh = :gs_gsh",
               {{"is_wtsbh", c.r.is_wtsbh}, {"gs_gsh", c.g.gs_gsh}});
  return !c.msg_fail(c.sqlca.sqlcode == -1, "更新该委托书的客户档案失败！");
}

bool release_account(Cancellation& c) {
  const std::string k = text::left(c.r.is_wtsbh, 1);
  if (k != "Z" && k != "V" && k != "S") return true;
  const Str ls_dph = c.edit.getitemstring(c.r.row, "cdph");
  const Str ls_zhdm = c.edit.getitemstring(c.r.row, "czhbh");
  c.sqlca.exec("update svcb11d2 set czt = '8' where czhdm = :ls_zhdm and cdph = :ls_dph",
               {{"ls_zhdm", ls_zhdm}, {"ls_dph", ls_dph}});
  return !c.msg_fail(c.sqlca.sqlcode == -1, "更新委托书状态信息失败!");
}

bool commit_cancellation(Cancellation& c) { return !c.msg_fail(c.sqlca.commit() != 0, "数据提交失败！"); }

void log_and_refresh(Cancellation& c) {
  const CancellationRequest& r = c.r;
  const std::string ls_log = "取消结算:将 " + r.is_wtsbh + " 的委托书由 " + status_name(r.is_ywxzt) + " 改为 " +
                             status_name(r.is_wxzt) + " ,总金额为 " +
                             format::number(c.ldc_hjje.value_or(0), "#,###.00") + " 元。 会员卡号： " + r.ls_hykh +
                             " ;原因说明：" + r.ls_yysm;
  fw::f_log_operate(ls_log);

  c.edit.setitemstatus(r.row, 0, dw::Buffer::Primary, dw::ItemStatus::NotModified);

  if (auto* list = dynamic_cast<w_svc305*>(c.w.parent()); list && list->is_open()) {
    list->dw_display->retrieve(list->is_jsrq, list->is_qsrq);
    fw::f_select_current_row(list->dw_display);
  }
}

}  // namespace kq::svc
