// ue_do_commit of w_svc305_01: the cancellation of one settlement in one unit
// of work on sqlca. Every statement runs inside that unit; a failure shows
// the step's message, rolls the whole unit back and returns 0, so nothing of
// the cancellation stays pending for a later commit.
#include <string>
#include <vector>

#include "framework/f_acr_qxcwjs.h"
#include "framework/f_grmc.h"
#include "framework/f_log_operate.h"
#include "framework/f_retu_para.h"
#include "framework/f_select_current_row.h"
#include "framework/f_sqlca.h"
#include "framework/session.h"
#include "platform/value/format.h"
#include "platform/value/text.h"
#include "settlement/w_svc305.h"
#include "settlement/w_svc305_01.h"

namespace kq::svc {
namespace {

std::string status_name(const std::string& code) {
  if (code == "1") return "结清";
  if (code == "2") return "欠账";
  if (code == "0") return "未结";
  return "";
}

// Decimal of a parameter text; null or not a number → null.
Dec decimal_of(const Str& s) { return Value(s).as_decimal(); }

}  // namespace

long w_svc305_01::fail_commit() {
  fw::session().sqlca.rollback();
  return 0;
}

long w_svc305_01::ue_do_commit() {
  fw::Globals& g = fw::g();
  db::Transaction& sqlca = fw::session().sqlca;
  dw::DataWindow& edit = dw_edit;

  // Reports a failed statement with msg when `failed`.
  auto msg_fail = [&](bool failed, std::string_view text) {
    if (!failed) return false;
    msg(g.gs_tsxx, text);
    return true;
  };

  wf_hysf();  // 1
  if (wf_vaid_check() == 0) return 0;  // 2
  const long ll_syzjk = Value(fw::f_retu_para("CLU", "LSYZJK")).as_long().value_or(0);  // 3
  const std::string ls_hykh = sle_1.text;
  if (is_wxzt.empty()) is_wxzt = "1";  // 4
  if (is_wtsbh.empty()) return 0;
  const long row = edit.getrow();
  if (row < 1) return 0;

  // 5: nothing to cancel: the status is unchanged, or the work order was not
  // settled when the window read it (saving again after a cancellation must
  // not reverse it twice).
  if (is_ywxzt == is_wxzt || (is_ywxzt != "1" && is_ywxzt != "2")) {
    edit.setitemstatus(row, 0, dw::Buffer::Primary, dw::ItemStatus::NotModified);
    return 1;
  }

  // 6: the slip as it stands, archived with its full state. A failure here
  // is not reported and does not stop the cancellation.
  const std::string ls_yysm = mle_1.text;
  if (dw_jsd->retrieve(is_wtsbh, g.gs_gsh) == 1) {
    dw::DataWindow& jsd = dw_jsd;
    const DateTime absent = DateTime::absent();
    const DateTime ldt_now = g.gd_xtrq.with_time_of(DateTime::now());
    const Blob lb_jsd = jsd.state_blob();
    sqlca.exec(
        "insert into svcb61 ( ctype , nver , cwtsbh , dsxrq , djsrq , ckhmc , ccxmc , cpzh , cdph , cjszt , nhjje , "
        "nysje , ddate , cfwgwmc , cczydm , cczymc , cbz , cgsh ) values ( '1' , 1 , :is_wtsbh , :ldt_sxrq , "
        ":ldt_jsrq , :ls_khmc , :ls_cxmc , :ls_pzh , :ls_dph , :is_ywxzt , :ldc_hjje , :ldc_zsje , :ldt_now , "
        ":ls_fwgwxm , :gs_yhdm , :ls_czyxm , :ls_yysm , :gs_gsh )",
        {{"is_wtsbh", is_wtsbh},
         {"ldt_sxrq", jsd.getitemdatetime(1, "dsxrq").value_or(absent)},
         {"ldt_jsrq", jsd.getitemdatetime(1, "djsrq").value_or(absent)},
         {"ls_khmc", jsd.getitemstring(1, "ckhmc").value_or("")},
         {"ls_cxmc", jsd.getitemstring(1, "ccxmc").value_or("")},
         {"ls_pzh", jsd.getitemstring(1, "cpzh").value_or("")},
         {"ls_dph", jsd.getitemstring(1, "cdph").value_or("")},
         {"is_ywxzt", is_ywxzt},
         {"ldc_hjje", jsd.getitemdecimal(1, "nhjje").value_or(0)},
         {"ldc_zsje", jsd.getitemdecimal(1, "nzsje").value_or(0)},
         {"ldt_now", ldt_now},
         {"ls_fwgwxm", jsd.getitemstring(1, "cfwgwxm").value_or("")},
         {"gs_yhdm", g.gs_yhdm},
         {"ls_czyxm", fw::f_grmc(g.gs_yhdm).value_or("")},
         {"ls_yysm", ls_yysm},
         {"gs_gsh", g.gs_gsh}});
    if (sqlca.sqlcode == 0) {
      // The blob goes to the row just inserted (two cancellations within one
      // second must not share a slip).
      Long ll_id;
      sqlca.exec("select scope_identity ( ) into :ll_id", {{"ll_id", db::out(ll_id)}});
      if (sqlca.sqlcode == 0 && ll_id)
        sqlca.exec("updateblob svcb61 set cblob = :lb_jsd where id = :ll_id and cgsh = :gs_gsh",
                   {{"lb_jsd", lb_jsd}, {"ll_id", *ll_id}, {"gs_gsh", g.gs_gsh}});
    }
  }

  // 7
  Dec ldc_hjje = 0;
  sqlca.exec("select top 1 nhjje into :ldc_hjje from v_svc300_01 where cwtsbh = :is_wtsbh and cgsh = :gs_gsh",
             {{"is_wtsbh", is_wtsbh}, {"gs_gsh", g.gs_gsh}, {"ldc_hjje", db::out(ldc_hjje)}});
  if (fw::f_sqlca("读取委托书合计金额失败") == 0) return fail_commit();

  // 8
  std::string ls_skxf = text::trim(edit.getitemstring(row, "cskxf").value_or(""));
  if (ls_skxf.empty()) ls_skxf = "0";
  std::string ls_xchs = text::trim(fw::f_retu_para("svc", "LXCHS").value_or(""));
  std::string ls_xjhs = text::trim(fw::f_retu_para("spa", "LXJHS").value_or(""));
  if (ls_xchs.empty()) ls_xchs = "1";
  if (ls_xjhs.empty()) ls_xjhs = "1";
  const Decimal ldc_gssl = decimal_of(fw::f_retu_para("svc", "NGFSL")).value_or(0);
  const Decimal ldc_clsl = decimal_of(fw::f_retu_para("spa", "NBJXJSL")).value_or(0);

  // 9: only while the settlement still has the status this window read, so
  // that two workstations cannot cancel it twice; no row is a failure. The
  // charges go back to the undiscounted amounts (nysgsf, nysclf), taxed
  // again when prices do not include tax.
  sqlca.exec(
      "update svcb20c set cwxzt = :is_wxzt , djsrq = '1900/01/01' , cjsfs = '' , cdbr = '' , cscbs = '0' , "
      "cscbs1 = '0' , nhykbcjf = 0 , nhykbcxfje = 0 , ngsyhl = 0 , nclyhl = 0 , nhjyh = 0 , nyhhgsf = nysgsf , "
      "nssgsf = case :ls_xchs when '1' then nysgsf else nysgsf *( 1 + :ldc_gssl / 100 ) end , nyhhclf = nysclf , "
      "nssclf = case :ls_xjhs when '1' then nysclf else nysclf *( 1 + :ldc_clsl / 100 ) end , cskxf = :ls_skxf , "
      "nhykczje = 0 , nhykscjf = 0 , nhykscye = 0 where cwtsbh = :is_wtsbh and cgsh = :gs_gsh and cwxzt = :is_ywxzt",
      {{"is_wxzt", is_wxzt}, {"ls_xchs", ls_xchs}, {"ldc_gssl", ldc_gssl}, {"ls_xjhs", ls_xjhs},
       {"ldc_clsl", ldc_clsl}, {"ls_skxf", ls_skxf}, {"is_wtsbh", is_wtsbh}, {"gs_gsh", g.gs_gsh},
       {"is_ywxzt", is_ywxzt}});
  if (msg_fail(sqlca.sqlcode != 0, "更改结算状态失败!")) return fail_commit();

  // 10
  sqlca.exec("delete from sysb13 where cdydjh = :is_wtsbh and cbs = '3'", {{"is_wtsbh", is_wtsbh}});
  if (msg_fail(sqlca.sqlcode == -1, "更新累计收款信息表失败!")) return fail_commit();

  // 11: points and stored value back to the card(s).
  if (is_azclu == "1" && ls_skxf == "1") {
    const Decimal ldc_hjkxfje = edit.getitemdecimal(row, "nhykbcxfje").value_or(0);
    Long ll_kid = 0;
    sqlca.exec("select id into :ll_kid from club01c where ckh = :ls_hykh and cgsh = :gs_gsh",
               {{"ls_hykh", ls_hykh}, {"gs_gsh", g.gs_gsh}, {"ll_kid", db::out(ll_kid)}});
    if (fw::f_sqlca("获取卡id信息失败！") == 0) return fail_commit();
    // A card that is not on file would have its points logs removed without
    // its points going back: refuse.
    if (msg_fail(sqlca.sqlcode == 100, "获取卡id信息失败！")) return fail_commit();

    // Points booked to a card by this work order (`var` names its id), taken
    // off the card locally and, with LSYZJK 1, in the club database.
    auto reverse_points = [&](const std::string& var, int64_t kid, std::string_view club_failure) -> bool {
      Dec ldc_dh = 0, ldc_dj = 0, ldc_lj = 0;  // no points booked: nothing to take off
      sqlca.exec("select nbcdhjf , nbcdjjf , nbcljjf into :ldc_dh , :ldc_dj , :ldc_lj from club08 where nkid = :" +
                     var + " and cdyywdh = :is_wtsbh and cywfl = 'SVC'",
                 {{var, kid}, {"is_wtsbh", is_wtsbh}, {"ldc_dh", db::out(ldc_dh)}, {"ldc_dj", db::out(ldc_dj)},
                  {"ldc_lj", db::out(ldc_lj)}});
      if (fw::f_sqlca("获取积分信息失败！") == 0) return false;
      const std::vector<db::HostVar> points = {
          {"ldc_dh", ldc_dh}, {"ldc_dj", ldc_dj}, {"ldc_lj", ldc_lj}, {var, kid}, {"gs_gsh", g.gs_gsh}};
      const std::string set = " set ndhjf = ndhjf - :ldc_dh , ndjjf = ndjjf - :ldc_dj , nljjf = nljjf - :ldc_lj "
                              "where id = :" + var + " and cgsh = :gs_gsh";
      sqlca.exec("update club01c" + set, points);
      if (fw::f_sqlca("更新会员卡积分信息失败！") == 0) return false;
      if (ll_syzjk == 1) {
        sqlca.exec("update kq_club..club01c" + set, points);
        if (fw::f_sqlca(club_failure) == 0) return false;
      }
      return true;
    };
    if (!reverse_points("ll_kid", ll_kid.value_or(0), "更新会员卡积分信息失败！")) return fail_commit();

    Long ll_zkid = 0;
    sqlca.exec("select nkid into :ll_zkid from club08 where nkid <> :ll_kid and cdyywdh = :is_wtsbh and cywfl = 'SVC'",
               {{"ll_kid", ll_kid}, {"is_wtsbh", is_wtsbh}, {"ll_zkid", db::out(ll_zkid)}});
    if (fw::f_sqlca("获取主辅卡信息失败！") == 0) return fail_commit();
    if (sqlca.sqlcode == 0 && ll_zkid.value_or(0) != 0 &&
        !reverse_points("ll_zkid", ll_zkid.value_or(0), "更新会员俱乐部会员卡积分信息失败！"))
      return fail_commit();

    const std::vector<db::HostVar> doc = {{"is_wtsbh", is_wtsbh}};
    sqlca.exec("delete club08 where cdyywdh = :is_wtsbh and cywfl = 'SVC'", doc);
    if (fw::f_sqlca("删除积分日志失败！") == 0) return fail_commit();
    if (ll_syzjk == 1) {
      sqlca.exec("delete kq_club..club08 where cdyywdh = :is_wtsbh and cywfl = 'SVC'", doc);
      if (fw::f_sqlca("删除会员俱乐部积分日志失败！") == 0) return fail_commit();
    }

    if (ldc_hjkxfje > Decimal(0)) {
      const std::vector<db::HostVar> refund = {
          {"ldc_hjkxfje", ldc_hjkxfje}, {"ll_kid", ll_kid}, {"gs_gsh", g.gs_gsh}};
      sqlca.exec("update club01c set nknye = nknye + :ldc_hjkxfje where id = :ll_kid and cgsh = :gs_gsh", refund);
      if (fw::f_sqlca("更新会员卡余额信息失败！") == 0) return fail_commit();
      if (ll_syzjk == 1) {
        sqlca.exec("update kq_club..club01c set nknye = nknye + :ldc_hjkxfje where id = :ll_kid and cgsh = :gs_gsh",
                   refund);
        if (fw::f_sqlca("更新中间库会员卡余额信息失败！") == 0) return fail_commit();
      }
      sqlca.exec("delete club07 where cdyywdh = :is_wtsbh and cywfl = 'SVC'", doc);
      if (fw::f_sqlca("删除储值日志失败！") == 0) return fail_commit();
      if (ll_syzjk == 1) {
        sqlca.exec("delete kq_club..club07 where cdyywdh = :is_wtsbh and cywfl = 'SVC'", doc);
        if (fw::f_sqlca("删除中间库储值日志失败！") == 0) return fail_commit();
      }
    }

    sqlca.exec("update svcb20c set cskxf = '0' where cwtsbh = :is_wtsbh and cgsh = :gs_gsh",
               {{"is_wtsbh", is_wtsbh}, {"gs_gsh", g.gs_gsh}});
    if (fw::f_sqlca("更新刷卡消费标识失败！") == 0) return fail_commit();
  }

  // 12: customer statistics.
  const std::string ls_fplxdm = text::trim(edit.getitemstring(row, "cfplxdm").value_or(""));
  const std::string ls_cwaz = fw::f_retu_para("sys", "lcwaz").value_or("");
  if ((is_ywxzt == "1" && is_wxzt == "0") ||
      (is_ywxzt == "2" && is_wxzt == "0" && !ls_fplxdm.empty() && ls_cwaz == "1")) {
    const std::string k = text::left(is_wtsbh, 1);
    std::string set;
    if (ii_mfbs == 1) {
      set = k == "0" ? "crmc04.ngs = crmc04.ngs - svcb20c.ngs , crmc04.nmfwxcs = crmc04.nmfwxcs - 1 , "
                       "crmc04.nbycs = crmc04.nbycs - 1"
                     : "crmc04.ngs = crmc04.ngs - svcb20c.ngs , crmc04.nmfwxcs = crmc04.nmfwxcs - 1";
    } else {
      const long li_sbbs = Value(edit.getitemnumber(row, "lsbbs")).as_long().value_or(0);
      set = (k == "2" || li_sbbs == 1)
                ? "crmc04.nwxcslj = crmc04.nwxcslj - 1 , crmc04.nbycs = crmc04.nbycs - 1 , "
                  "crmc04.ngs = crmc04.ngs - svcb20c.ngs , crmc04.nljje = crmc04.nljje - svcb20c.nhjje"
                : "crmc04.nwxcslj = crmc04.nwxcslj - 1 , crmc04.ngs = crmc04.ngs - svcb20c.ngs , "
                  "crmc04.nljje = crmc04.nljje - svcb20c.nhjje";
    }
    sqlca.exec("update crmc04 set " + set +
                   " from svcb20c , crmc04 where svcb20c.cwtsbh = :is_wtsbh and svcb20c.id = crmc04.id and "
                   "svcb20c.cgsh = crmc04.cgsh and svcb20c.cgsh = :gs_gsh and ltybs = 0",
               {{"is_wtsbh", is_wtsbh}, {"gs_gsh", g.gs_gsh}});
    if (msg_fail(sqlca.sqlcode == -1, "更新该委托书的客户档案失败!")) return fail_commit();
  }

  // 13: the finance module's hook.
  if (g.gi_cwaz == 1) {
    if (fw::f_acr_qxcwjs_valid(edit, 1) == 0) return fail_commit();
    if (fw::f_acr_qxcwjs(edit, 1) == 0) return fail_commit();
  }

  // 14
  sqlca.exec("update svcb20c set cfph = '' , dfprq = '' , cfplxdm = '' , nzsje = 0 , nhjje = 0 , nhjse = 0 , "
             "lcwskwb = 0 , nljsk = 0 , nclcb = 0 , nsplfcb = 0 where cwtsbh = :is_wtsbh and cgsh = :gs_gsh",
             {{"is_wtsbh", is_wtsbh}, {"gs_gsh", g.gs_gsh}});
  if (msg_fail(sqlca.sqlcode == -1, "更新该委托书的客户档案失败！")) return fail_commit();

  // 15: a linked account is released.
  const std::string k = text::left(is_wtsbh, 1);
  if (k == "Z" || k == "V" || k == "S") {
    const Str ls_dph = edit.getitemstring(row, "cdph");
    const Str ls_zhdm = edit.getitemstring(row, "czhbh");
    sqlca.exec("update svcb11d2 set czt = '8' where czhdm = :ls_zhdm and cdph = :ls_dph",
               {{"ls_zhdm", ls_zhdm}, {"ls_dph", ls_dph}});
    if (msg_fail(sqlca.sqlcode == -1, "更新委托书状态信息失败!")) return fail_commit();
  }

  // 16
  if (sqlca.commit() != 0) {
    msg(g.gs_tsxx, "数据提交失败！");
    return fail_commit();
  }
  committed_ = true;

  // 17
  const std::string ls_log = "取消结算:将 " + is_wtsbh + " 的委托书由 " + status_name(is_ywxzt) + " 改为 " +
                             status_name(is_wxzt) + " ,总金额为 " +
                             format::number(ldc_hjje.value_or(0), "#,###.00") +
                             " 元。 会员卡号： " + ls_hykh + " ;原因说明：" + ls_yysm;
  fw::f_log_operate(ls_log);

  // 18
  edit.setitemstatus(row, 0, dw::Buffer::Primary, dw::ItemStatus::NotModified);

  // 19: the list again, over the range it showed.
  if (auto* list = dynamic_cast<w_svc305*>(parent()); list && list->is_open()) {
    list->dw_display->retrieve(list->is_jsrq, list->is_qsrq);
    fw::f_select_current_row(list->dw_display);
  }
  return 1;
}

}  // namespace kq::svc
