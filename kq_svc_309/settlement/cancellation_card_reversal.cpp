// The card step of the cancellation commit: the points this work order
// booked go off the card (and off a second card that shared them), the
// stored value it spent goes back, and the club logs of the work order go;
// locally and, with CLU/LSYZJK 1, in the club database kq_club.
#include <vector>

#include "framework/f_sqlca.h"
#include "framework/session.h"
#include "settlement/cancellation_steps.h"
#include "settlement/w_svc305_01.h"

namespace kq::svc {
namespace {

// Points booked to the card `var` (its id `kid`) by this work order, taken
// off the card locally and, with LSYZJK 1, in the club database.
bool reverse_points(Cancellation& c, const std::string& var, int64_t kid, std::string_view club_failure) {
  db::Transaction& sqlca = c.sqlca;
  Dec ldc_dh = 0, ldc_dj = 0, ldc_lj = 0;  // no points booked: nothing to take off
  sqlca.exec("select nbcdhjf , nbcdjjf , nbcljjf into :ldc_dh , :ldc_dj , :ldc_lj from club08 where nkid = :" + var +
                 " and cdyywdh = :is_wtsbh and cywfl = 'SVC'",
             {{var, kid}, {"is_wtsbh", c.r.is_wtsbh}, {"ldc_dh", db::out(ldc_dh)}, {"ldc_dj", db::out(ldc_dj)},
              {"ldc_lj", db::out(ldc_lj)}});
  if (fw::f_sqlca("获取积分信息失败！") == 0) return false;
  const std::vector<db::HostVar> points = {
      {"ldc_dh", ldc_dh}, {"ldc_dj", ldc_dj}, {"ldc_lj", ldc_lj}, {var, kid}, {"gs_gsh", c.g.gs_gsh}};
  const std::string set = " set ndhjf = ndhjf - :ldc_dh , ndjjf = ndjjf - :ldc_dj , nljjf = nljjf - :ldc_lj "
                          "where id = :" + var + " and cgsh = :gs_gsh";
  sqlca.exec("update club01c" + set, points);
  if (fw::f_sqlca("更新会员卡积分信息失败！") == 0) return false;
  if (c.ll_syzjk == 1) {
    sqlca.exec("update kq_club..club01c" + set, points);
    if (fw::f_sqlca(club_failure) == 0) return false;
  }
  return true;
}

// The stored value the work order spent (`ldc_hjkxfje`) back onto card
// `ll_kid`, and the stored-value logs of the work order removed.
bool refund_stored_value(Cancellation& c, const Decimal& ldc_hjkxfje, const Long& ll_kid) {
  db::Transaction& sqlca = c.sqlca;
  const std::vector<db::HostVar> refund = {{"ldc_hjkxfje", ldc_hjkxfje}, {"ll_kid", ll_kid}, {"gs_gsh", c.g.gs_gsh}};
  sqlca.exec("update club01c set nknye = nknye + :ldc_hjkxfje where id = :ll_kid and cgsh = :gs_gsh", refund);
  if (fw::f_sqlca("更新会员卡余额信息失败！") == 0) return false;
  if (c.ll_syzjk == 1) {
    sqlca.exec("update kq_club..club01c set nknye = nknye + :ldc_hjkxfje where id = :ll_kid and cgsh = :gs_gsh",
               refund);
    if (fw::f_sqlca("更新中间库会员卡余额信息失败！") == 0) return false;
  }
  const std::vector<db::HostVar> doc = {{"is_wtsbh", c.r.is_wtsbh}};
  sqlca.exec("delete club07 where cdyywdh = :is_wtsbh and cywfl = 'SVC'", doc);
  if (fw::f_sqlca("删除储值日志失败！") == 0) return false;
  if (c.ll_syzjk == 1) {
    sqlca.exec("delete kq_club..club07 where cdyywdh = :is_wtsbh and cywfl = 'SVC'", doc);
    if (fw::f_sqlca("删除中间库储值日志失败！") == 0) return false;
  }
  return true;
}

}  // namespace

bool reverse_cards(Cancellation& c) {
  if (c.w.is_azclu != "1" || c.ls_skxf != "1") return true;
  db::Transaction& sqlca = c.sqlca;
  const CancellationRequest& r = c.r;
  const Decimal ldc_hjkxfje = c.edit.getitemdecimal(r.row, "nhykbcxfje").value_or(0);
  Long ll_kid = 0;
  sqlca.exec("select id into :ll_kid from club01c where ckh = :ls_hykh and cgsh = :gs_gsh",
             {{"ls_hykh", r.ls_hykh}, {"gs_gsh", c.g.gs_gsh}, {"ll_kid", db::out(ll_kid)}});
  if (fw::f_sqlca("获取卡id信息失败！") == 0) return false;
  // A card that is not on file would have its points logs removed without
  // its points going back: refuse.
  if (c.msg_fail(sqlca.sqlcode == 100, "获取卡id信息失败！")) return false;
  if (!reverse_points(c, "ll_kid", ll_kid.value_or(0), "更新会员卡积分信息失败！")) return false;

  Long ll_zkid = 0;
  sqlca.exec("select nkid into :ll_zkid from club08 where nkid <> :ll_kid and cdyywdh = :is_wtsbh and cywfl = 'SVC'",
             {{"ll_kid", ll_kid}, {"is_wtsbh", r.is_wtsbh}, {"ll_zkid", db::out(ll_zkid)}});
  if (fw::f_sqlca("获取主辅卡信息失败！") == 0) return false;
  if (sqlca.sqlcode == 0 && ll_zkid.value_or(0) != 0 &&
      !reverse_points(c, "ll_zkid", ll_zkid.value_or(0), "更新会员俱乐部会员卡积分信息失败！"))
    return false;

  const std::vector<db::HostVar> doc = {{"is_wtsbh", r.is_wtsbh}};
  sqlca.exec("delete club08 where cdyywdh = :is_wtsbh and cywfl = 'SVC'", doc);
  if (fw::f_sqlca("删除积分日志失败！") == 0) return false;
  if (c.ll_syzjk == 1) {
    sqlca.exec("delete kq_club..club08 where cdyywdh = :is_wtsbh and cywfl = 'SVC'", doc);
    if (fw::f_sqlca("删除会员俱乐部积分日志失败！") == 0) return false;
  }

  if (ldc_hjkxfje > Decimal(0) && !refund_stored_value(c, ldc_hjkxfje, ll_kid)) return false;

  sqlca.exec("update svcb20c set cskxf = '0' where cwtsbh = :is_wtsbh and cgsh = :gs_gsh",
             {{"is_wtsbh", r.is_wtsbh}, {"gs_gsh", c.g.gs_gsh}});
  return fw::f_sqlca("更新刷卡消费标识失败！") != 0;
}

}  // namespace kq::svc
