// w_svc305_01: the membership card — valid cards of the work order
// (wf_hysf), reading and checking the card (wf_hyk_read) and writing the
// reversed points and service data back onto the IC card (wf_card_exe).
#include <string>
#include <utility>
#include <vector>

#include "framework/f_msg.h"
#include "framework/f_recorder_exist.h"
#include "framework/f_retu_para.h"
#include "framework/openbox.h"
#include "framework/session.h"
#include "platform/card/protocol.h"
#include "platform/card/service_data.h"
#include "platform/value/format.h"
#include "platform/value/text.h"
#include "settlement/w_svc305_01.h"

namespace kq::svc {
namespace {

void tell(std::string_view text) { fw::messagebox(fw::g().gs_tsxx, text, ui::Icon::Exclamation); }

// The card number as the IC card reader gives it: at most ten characters, trimmed.
std::string ic_card_number(std::string_view raw) { return text::trim(text::left(raw, 10)); }

// A number as an edit mask shows it (null: empty).
std::string shown(const Dec& v, const std::string& mask) {
  if (!v) return {};
  return mask.empty() ? format::general(Value(*v)) : format::number(*v, mask);
}

std::string business_date() { return format::datetime(fw::g().gd_xtrq, "yyyy/mm/dd"); }

}  // namespace

long w_svc305_01::wf_hysf() {
  std::string ls_xtrq = business_date();
  Long ll_ret = 0;
  db::Transaction& sqlca = fw::session().sqlca;
  if (is_azhyk == "1") {
    sqlca.exec(
        "select count ( 1 ) into :ll_ret from svcb20c a , vipb01 b where a.id = b.nclid and a.cwtsbh = :is_wtsbh "
        "and b.lsdbs = 0 and ltybs = 0 and convert ( char ( 10 ) , dyxrq , 111 ) >= convert ( char ( 10 ) , :ls_xtrq , "
        "111 )",
        {{"is_wtsbh", is_wtsbh}, {"ls_xtrq", ls_xtrq}, {"ll_ret", db::out(ll_ret)}});
  }
  if (is_azclu == "1") {
    sqlca.exec(
        "select count ( 1 ) into :ll_ret from svcb20c a , club03 b , club01c c where a.id = b.ncldaid and a.cwtsbh = "
        ":is_wtsbh and b.nkid = c.id and c.lsdbs = 0 and c.ltybs = 0 and c.lblbs = 1 and convert ( char ( 10 ) , "
        "c.dyxrq , 111 ) >= :ls_xtrq and convert ( char ( 10 ) , c.dhfdqr , 111 ) >= :ls_xtrq",
        {{"is_wtsbh", is_wtsbh}, {"ls_xtrq", ls_xtrq}, {"ll_ret", db::out(ll_ret)}});
  }
  return static_cast<long>(ll_ret.value_or(0));
}

long w_svc305_01::wf_hyk_read() {
  dw_edit->accepttext();
  long row = dw_edit->getrow();
  Str ls_wxzt = dw_edit->getitemstring(row, "cwxzt");
  Str ls_skxf = dw_edit->getitemstring(row, "cskxf");
  if (ls_skxf && *ls_skxf != "1") {
    tell("当前委托书结算未刷卡消费。");
    return 0;
  }
  if (ls_wxzt && *ls_wxzt != "0") {
    tell("请先选择结算状态为“未结”。");
    return 0;
  }
  Str ls_hykh = dw_edit->getitemstring(row, "chykh");
  if (ls_hykh) ls_hykh = text::trim(*ls_hykh);

  // Without "CQ" the number shown is the one just read: a failed or
  // mismatching read leaves none, so that validation refuses the save.
  if (is_hymk != "1") {
    sle_1.text.clear();
    em_1.text.clear();
    em_2.text.clear();
  }
  Str ls_hykh1;
  if (is_hymk == "1") {
    ls_hykh1 = ls_hykh;
  } else if (is_azhyk == "1") {
    if (!ib_opencom) {
      tell("串口尚未打开，请查看相关参数设置是否正确。");
      return 0;
    }
    int li_status = 0;
    std::string ls_card;
    if (uo_1->of_hyk_readcard(li_status, ls_card) == 0) {
      tell("读卡器没有响应，请检查读卡器连接情况！");
      return 0;
    }
    if (li_status == -1) {
      tell("读卡不成功 ，请重试！");
      return 0;
    }
    ls_hykh1 = ic_card_number(ls_card);
  } else if (is_azclu == "1") {
    if (uo_2->of_clu_getdevicestatus() != 1 && uo_2->of_clu_opendevice() != 1) {
      tell("打开串口失败,请检查读卡器连接情况！");
      return 0;
    }
    std::string ls_card;
    int li_read = uo_2->of_clu_getckh(ls_card);
    if (uo_2->of_clu_closedevice() != 1) {
      tell("关闭串口失败,请检查读卡器连接情况！");
      return 0;
    }
    if (li_read != 1) {
      tell("读卡不成功 ，请重试！");
      return 0;
    }
    ls_hykh1 = ls_card;
  }

  std::string ls_read = ls_hykh1.value_or("");
  if (!ls_read.empty() && ls_hykh && ls_read != *ls_hykh) {
    tell("当前卡信息与结算时会员卡信息不一致，请核实！\n\n结算时会员卡号：" + *ls_hykh + "   当前卡号：" + ls_read);
    return 0;
  }
  sle_1.text = ls_read;
  Dec ldc_je = dw_edit->getitemdecimal(row, "nhykbcxfje");
  Dec ldc_jf = dw_edit->getitemdecimal(row, "nhykbcjf");
  em_1.text = shown(ldc_je, em_1.mask);
  em_2.text = shown(ldc_jf, em_2.mask);
  return 1;
}

long w_svc305_01::wf_card_exe(long ai_bs, const CancellationRequest& request) {
  const std::string& is_wtsbh = request.is_wtsbh;
  const long ii_mfbs = request.ii_mfbs;
  if (ai_bs != 1) return 1;

  // Step failures before the connection is open remove the progress
  // indicator and tell; later ones also close the connection.
  Str ls_port = fw::f_retu_para("sys", "ickcom");
  if (uo_1->open_comm(ls_port.value_or("")) != 1) {
    fw::delbox();
    tell("打开串口错误警告");
    return 0;
  }
  auto fail = [this](std::string_view text) -> long {
    fw::delbox();
    tell(text);
    uo_1->close_comm();
    return 0;
  };

  if (uo_1->cardready() != 1) return fail("卡未找到警告");

  std::string ls_pass, ls_yxbz;
  if (uo_1->of_getpass(ls_pass) != 1 || uo_1->of_read(std::string(card::proto::kFieldValid), ls_yxbz) != 1)
    return fail("读卡不成功 ，请重试！");
  if (text::trim(ls_yxbz) != "1") return fail("该卡为无效卡 ，不能取消结算！");

  std::string ls_kh;
  long ll_khjf = 0;
  if (uo_1->of_read(std::string(card::proto::kFieldNumber), ls_kh) != 1 ||
      uo_1->of_part_int(std::string(card::proto::kFieldPoints), ll_khjf) != 1)
    return fail("读卡不成功 ，请重试！");
  ls_kh = ic_card_number(ls_kh);

  if (!fw::f_recorder_exist("club01d", "ckh = :ls_kh and cwtsbh = :is_wtsbh", {{"ls_kh", ls_kh}, {"is_wtsbh", is_wtsbh}}))
    return fail("请先进行会员结算，再执行取消会员结算！");

  std::string ls_dm, ls_jfbz;
  if (uo_1->of_retu_dm(ls_dm) != 1) return fail("读卡不成功 ，请重试！");
  if (uo_1->of_retu_jfbz(ls_dm, ls_jfbz) != 1) return fail("没有对应的计分标准，请维护！");

  long ll_bcjf = 0;
  if (ii_mfbs != 1) {
    if (uo_1->of_retu_bcjf(ls_dm, is_wtsbh, ll_bcjf) == -1 ||
        uo_1->of_write(ls_pass, std::string(card::proto::kFieldPoints), std::to_string(ll_khjf - ll_bcjf)) != 1)
      return fail("回写客户积分不成功，请重试！");
  }

  const auto& names = card::service_field_names();
  std::vector<std::string> ls_fw;
  if (uo_1->of_read(std::vector<std::string>(names.begin(), names.end()), ls_fw) != 1 ||
      ls_fw.size() != names.size())
    return fail("读卡不成功 ，请重试！");
  std::vector<std::string> ls_infor;
  if (uo_1->of_retu_infor(is_wtsbh, ls_infor) != 1 || ls_infor.size() < 2) return fail("读取信息不成功，请重试！");
  card::ServiceData before;
  for (size_t i = 0; i < before.size(); ++i) before[i] = ls_fw[i];
  std::string ls_rq = business_date();
  card::SettlementFigures figures{Decimal::parse(ls_infor[0]).value_or(Decimal(0)),
                                  Decimal::parse(ls_infor[1]).value_or(Decimal(0)), ll_bcjf};
  card::ServiceData after = card::cancel_settlement(before, is_wtsbh, figures, ls_rq);
  std::vector<std::pair<std::string, std::string>> writes;
  for (size_t i = 0; i < after.size(); ++i) writes.emplace_back(names[i], after[i]);
  if (uo_1->of_write(ls_pass, writes) != 1) return fail("写卡不成功 ，请重试！");

  if (uo_1->of_wgjs(ls_pass, ls_kh, is_wtsbh, ls_rq, ll_khjf, ll_bcjf, fw::g().gs_yhdm) != 1)
    return fail("写卡不成功 ，请重试！");

  uo_1->close_comm();
  card_written_ = CardWriteBack{ls_port.value_or(""), ls_pass, ls_kh, ll_khjf, ii_mfbs != 1 ? ll_bcjf : 0, ls_fw};
  return 1;
}

long w_svc305_01::wf_card_restore() {
  if (!card_written_) return 1;
  const CardWriteBack w = std::move(*card_written_);
  card_written_.reset();
  static constexpr std::string_view kNotRestored = "取消结算未完成，会员卡上的积分和消费信息未能恢复，请核实会员卡！";
  if (uo_1->open_comm(w.port) != 1) {
    tell(kNotRestored);
    return 0;
  }
  auto fail = [this]() -> long {
    uo_1->close_comm();
    tell(kNotRestored);
    return 0;
  };
  // Only the card that was written is put back.
  std::string ls_kh;
  if (uo_1->cardready() != 1 || uo_1->of_read(std::string(card::proto::kFieldNumber), ls_kh) != 1 ||
      ic_card_number(ls_kh) != w.number)
    return fail();
  const auto& names = card::service_field_names();
  std::vector<std::pair<std::string, std::string>> writes;
  if (w.points_taken != 0) writes.emplace_back(std::string(card::proto::kFieldPoints), std::to_string(w.points_before));
  for (size_t i = 0; i < names.size() && i < w.service_before.size(); ++i)
    writes.emplace_back(names[i], w.service_before[i]);
  if (uo_1->of_write(w.password, writes) != 1) return fail();
  // The undoing is recorded as a cancellation that gave the points back.
  if (uo_1->of_wgjs(w.password, w.number, is_wtsbh, business_date(), w.points_before - w.points_taken,
                    -w.points_taken, fw::g().gs_yhdm) != 1)
    return fail();
  uo_1->close_comm();
  return 1;
}

}  // namespace kq::svc
