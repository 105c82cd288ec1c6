#include "settlement/w_svc305_01.h"

#include <filesystem>

#include "framework/f_msg.h"
#include "framework/f_retu_czyauth.h"
#include "framework/f_retu_para.h"
#include "framework/openbox.h"
#include "framework/session.h"
#include "platform/value/format.h"
#include "settlement/cancellation_status.h"
#include "platform/profile/profile.h"
#include "platform/serial/port_name.h"
#include "platform/ui/text_limit.h"
#include "platform/value/text.h"

namespace kq::svc {
namespace {

// A parameter or authority switch as the window keeps it: "0" when null or blank.
std::string switch_text(const Str& s) {
  std::string t = text::trim(s.value_or(""));
  return t.empty() ? "0" : t;
}

void refuse(std::string_view text) { fw::messagebox(fw::g().gs_tsxx, text, ui::Icon::Exclamation); }

constexpr std::string_view kCardPaymentKept = "您没有取消“刷卡消费”的权限，请读取会员卡后再取消结算！";

}  // namespace

w_svc305_01::w_svc305_01()
    : fw::w_stmm_edit("w_svc305_01", "取消结算"),
      uo_1(std::make_unique<fw::uo_clu100>()),
      dw_jsd(add<ui::DataWindowControl>("dw_jsd")),
      cb_1(add_control("cb_1", ui::ControlKind::CommandButton)),
      dw_1(add<ui::DataWindowControl>("dw_1")),
      mle_1(add_control("mle_1", ui::ControlKind::MultiLineEdit)),
      st_1(add_control("st_1", ui::ControlKind::StaticText, "*取消结算，请输入原因说明：")),
      em_1(add_control("em_1", ui::ControlKind::EditMask)),
      em_2(add_control("em_2", ui::ControlKind::EditMask)),
      sle_1(add_control("sle_1", ui::ControlKind::SingleLineEdit)),
      cb_2(add_control("cb_2", ui::ControlKind::CommandButton, "读 卡")),
      uo_2(std::make_unique<fw::uo_clu180>()),
      st_2(add_control("st_2", ui::ControlKind::StaticText, "读卡卡号")),
      st_3(add_control("st_3", ui::ControlKind::StaticText, "读卡刷卡金额")),
      st_4(add_control("st_4", ui::ControlKind::StaticText, "读卡本次积分")) {
  changemenu("m_sys_09");
  dw_edit->dataobject("d_svc305_01_01");
  dw_jsd->dataobject("d_svc305_jsd1");
  dw_jsd.visible = false;
  cb_1.visible = false;
  dw_1.visible = false;
  em_1.enabled = false;
  em_2.enabled = false;
  // The reason is archived in svcb61.cbz varchar(255); the card number is
  // the settlement's chykh char(18).
  mle_1.limit = 255;
  mle_1.label = "原因说明";
  sle_1.limit = 18;
  sle_1.label = "会员卡号";
  em_1.mask = "###,##0.00";
  em_2.mask = "###,##0.00";
  set_toolbar({{"ue_cus", 1, "保存", true}, {"close", 0, "关闭", true}});

  dw_edit.geometry = ui::Geometry{0, 8, 800, 210};
  st_1.geometry = ui::Geometry{12, 226, 260, 20};
  mle_1.geometry = ui::Geometry{12, 250, 520, 80};
  st_2.geometry = ui::Geometry{548, 226, 140, 20};
  sle_1.geometry = ui::Geometry{548, 250, 140, 26};
  cb_2.geometry = ui::Geometry{696, 249, 80, 28};
  st_3.geometry = ui::Geometry{548, 282, 110, 20};
  st_4.geometry = ui::Geometry{666, 282, 110, 20};
  em_1.geometry = ui::Geometry{548, 304, 110, 26};
  em_2.geometry = ui::Geometry{666, 304, 110, 26};

  on("sle_1", "modified", [this](const ui::Event&) { return sle_1_modified(); });
  on("cb_2", "clicked", [this](const ui::Event&) { return cb_2_clicked(); });
  on("", "ue_do_commit", [this](const ui::Event&) { return ue_do_commit(); });
}

w_svc305_01::~w_svc305_01() = default;

long w_svc305_01::ue_before_open() {
  if (fw::w_stmm_edit::ue_before_open() == 0) return 0;
  dw_jsd->settransobject(fw::session().sqlca);
  return 1;
}

long w_svc305_01::open() {
  if (fw::w_stmm_edit::open() == 0) return 0;
  is_azhyk = switch_text(fw::f_retu_para("sys", "LVIPAZ"));
  is_azclu = switch_text(fw::f_retu_para("sys", "LCLUAZ"));
  is_czysk = fw::f_retu_czyauth("CP") ? "1" : "0";
  is_hymk = fw::f_retu_czyauth("CQ") ? "1" : "0";
  // Without "CQ" the card number comes from the reader only.
  sle_1.displayonly = is_hymk != "1";

  const long row = dw_edit->getrow();
  const std::string ls_hykh = text::trim(dw_edit->getitemstring(row, "chykh").value_or(""));
  is_wtsbh = dw_edit->getitemstring(row, "cwtsbh").value_or("");
  wf_hysf();

  if (is_azhyk == "1" && is_czysk == "1") {
    const std::string profile = (std::filesystem::path(fw::g().gs_startfile) / "pb.ini").string();
    is_com = text::trim(profile::profile_string(profile, "database", "ickcom", ""));
    if (is_com.empty()) {
      is_com = text::trim(fw::f_retu_para("sys", "ickcom").value_or(""));
      // Only a port name ("COM3", "3") gives a port number; a device path
      // ("/dev/ttyUSB1") keeps 0, so that the reader opens it as it stands.
      ii_com = serial::port_number(is_com);
    }
    cb_2.visible = !ls_hykh.empty();
    if (uo_1->of_gsgl_opencom(static_cast<int>(ii_com)) != 0) {
      ib_opencom = true;
    } else {
      fw::messagebox(fw::g().gs_tsxx, "串口连接失败！请检查刷卡器连接是否正确，退出程序再试！", ui::Icon::StopSign);
    }
  } else if (is_azclu == "1" && is_czysk == "1") {
    cb_2.visible = true;
  } else {
    cb_2.visible = false;
  }
  return 1;
}

long w_svc305_01::close() {
  fw::w_stmm_edit::close();
  if (ib_opencom && is_azhyk == "1" && is_czysk == "1") {
    uo_1->of_gsgl_colsecom();
    ib_opencom = false;
  }
  return 1;
}

bool w_svc305_01::wf_keeps_card_payment(long row) const {
  if (is_hymk == "1" || row < 1) return true;
  dw::DataWindow& d = dw_edit;
  return d.getitemstring(row, "cskxf", dw::Buffer::Primary, true).value_or("") != "1" ||
         d.getitemstring(row, "cskxf").value_or("") == "1";
}

long w_svc305_01::dw_edit_itemchanged(long row, const std::string& dwo, const std::string& data) {
  // Only an operator with "CQ" may untick 刷卡消费 of a card-paid settlement:
  // without it the card reversal would be skipped.
  if (dwo == "cskxf" && data != "1" && is_hymk != "1" && row >= 1 &&
      dw_edit->getitemstring(row, "cskxf", dw::Buffer::Primary, true).value_or("") == "1") {
    refuse(kCardPaymentKept);
    return 2;  // the value is rejected
  }
  const long result = fw::w_stmm_edit::dw_edit_itemchanged(row, dwo, data);
  // A change of the card-payment flag is marked in cskxgbs.
  if (dwo == "cskxf" && row >= 1) dw_edit->setitem(row, "cskxgbs", data == "0" ? "1" : "0");
  return result;
}

long w_svc305_01::sle_1_modified() { return wf_hyk_read(); }
long w_svc305_01::cb_2_clicked() { return wf_hyk_read(); }

long w_svc305_01::ue_save() {
  const std::optional<CancellationRequest> request = wf_vaid_check();
  if (!request) return 0;
  if (!wf_confirm_save()) return 0;
  fw::openbox("setup.avi", "正在取消结算，请稍候...");
  const long ai_bs = fw::f_retu_para("sys", "czjcdm").value_or("") == "A" ? 1 : 2;
  card_written_.reset();
  committed_ = false;
  if (wf_card_exe(ai_bs, *request) == 0) return 0;
  triggerevent("ue_do_commit");
  // A card written back for a cancellation that did not happen is put back.
  if (!committed_) wf_card_restore();
  card_written_.reset();
  fw::delbox();
  if (committed_) wf_finish_save();
  return 1;
}

std::string w_svc305_01::wf_save_question() {
  dw::DataWindow& d = dw_edit;
  const long row = d.getrow();
  if (row < 1) return {};
  const std::string was = d.getitemstring(row, "cwxzt", dw::Buffer::Primary, true).value_or("");
  const std::string now = d.getitemstring(row, "cwxzt").value_or("");
  if (was == now || status_name(now).empty()) return {};  // nothing is written
  const Dec amount = d.getitemdecimal(row, "nhjje");
  return "确定将委托书 " + d.getitemstring(row, "cwtsbh").value_or("") + " 的结算状态由 " + status_name(was) +
         " 改为 " + status_name(now) + " ？金额 " + format::number(amount.value_or(0), "###,##0.00") + " 元。";
}

std::string w_svc305_01::wf_save_done() { return "取消结算成功！"; }

std::optional<CancellationRequest> w_svc305_01::wf_vaid_check() {
  dw::DataWindow& d = dw_edit;
  d.accepttext();
  CancellationRequest r;
  r.row = d.getrow();
  r.is_ywxzt = d.getitemstring(r.row, "cwxzt", dw::Buffer::Primary, true).value_or("");
  r.is_wtsbh = d.getitemstring(r.row, "cwtsbh").value_or("");
  r.is_wxzt = d.getitemstring(r.row, "cwxzt").value_or("");
  r.is_wtslb = text::left(r.is_wtsbh, 1);
  r.ls_yysm = mle_1.text;
  r.ls_hykh = sle_1.text;

  if (text::trim(r.ls_yysm).empty()) {
    refuse("请输入委托书取消结算的“原因说明”！");
    mle_1.setfocus();
    return std::nullopt;
  }
  if (r.is_ywxzt == "1" && r.is_wxzt == "2") {
    refuse("已结清的委托书不能改到欠账状态！");
    return std::nullopt;
  }
  if (r.is_ywxzt == "2" && r.is_wxzt == "1") {
    refuse("欠账的委托书不能改到结清状态！");
    return std::nullopt;
  }

  db::Transaction& sqlca = fw::session().sqlca;
  Long ll_mfbs = 0;
  sqlca.exec("select lmfbs into :ii_mfbs from svcc90 where cwtslb = :is_wtslb and cgsh = :gs_gsh",
             {{"is_wtslb", r.is_wtslb}, {"gs_gsh", fw::g().gs_gsh}, {"ii_mfbs", db::out(ll_mfbs)}});
  if (sqlca.sqlcode == -1) {
    // Without the flag a free work order could be put on account: refuse.
    msg(fw::g().gs_tsxx, "读取当前委托书的免费标识失败!");
    return std::nullopt;
  }
  r.ii_mfbs = sqlca.sqlcode == 0 ? ll_mfbs.value_or(0) : 0;
  if (r.ii_mfbs == 1 && r.is_wxzt == "2") {
    refuse("免费的单子不能改成欠账!");
    return std::nullopt;
  }
  if (auto too_long = ui::text_too_long(mle_1.label, mle_1.limit, r.ls_yysm)) {
    refuse(*too_long);
    mle_1.setfocus();
    return std::nullopt;
  }
  if (!wf_keeps_card_payment(r.row)) {
    refuse(kCardPaymentKept);
    return std::nullopt;
  }

  const std::string ls_skxf = d.getitemstring(r.row, "cskxf").value_or("");
  const Str ls_hykh = d.getitemstring(r.row, "chykh");
  if (ls_skxf == "1" && text::trim(ls_hykh.value_or("")).empty()) {
    refuse("请先读取会员卡信息。");
    return std::nullopt;
  }
  if (ls_hykh && text::trim(*ls_hykh) != text::trim(r.ls_hykh)) {
    refuse("当前会员卡号与结算会员卡号不一致，请核实。\n结算卡号：" + *ls_hykh);
    return std::nullopt;
  }
  return r;
}

}  // namespace kq::svc
