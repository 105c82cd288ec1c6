#include "settlement/w_svc305.h"

#include <optional>

#include "framework/f_msg.h"
#include "framework/f_retu_czyauth.h"
#include "framework/f_select_current_row.h"
#include "framework/f_sqlca.h"
#include "framework/session.h"
#include "platform/value/text.h"

namespace kq::svc {
namespace {

// The date a text stands for, as "yyyy/mm/dd": "yyyy/mm/dd", "yyyy-mm-dd"
// or "yyyymmdd" naming a real day, without a time of day.
std::optional<std::string> date_text(const std::string& s) {
  std::string t = text::trim(s);
  if (t.empty() || t.find(' ') != std::string::npos) return std::nullopt;
  auto d = DateTime::parse(t);
  if (!d) return std::nullopt;
  return d->to_date_string();
}

}  // namespace

w_svc305::w_svc305()
    : fw::w_stmm_display("w_svc305", "取消结算"),
      em_1(add_control("em_1", ui::ControlKind::EditMask)),
      st_1(add_control("st_1", ui::ControlKind::StaticText, "结算日期")),
      pb_1(add_control("pb_1", ui::ControlKind::PictureButton, "查询(&Q)")),
      em_0(add_control("em_0", ui::ControlKind::EditMask)),
      st_2(add_control("st_2", ui::ControlKind::StaticText, "营业日期")),
      gb_1(add_control("gb_1", ui::ControlKind::GroupBox, "选择结算日期")) {
  changemenu("m_sys_08");
  // Settlements are cancelled in w_svc305_01; the list adds and deletes nothing.
  ib_supports_insert = false;
  ib_supports_delete = false;
  dw_display->dataobject("d_svc305_01");
  em_1.mask = "yyyy/mm/dd";
  em_0.mask = "yyyy/mm/dd";
  em_0.enabled = false;  // shows the business date only
  gb_1.geometry = ui::Geometry{8, 4, 600, 60};
  st_1.geometry = ui::Geometry{20, 28, 70, 24};
  em_1.geometry = ui::Geometry{92, 26, 110, 26};
  pb_1.geometry = ui::Geometry{212, 24, 90, 30};
  st_2.geometry = ui::Geometry{320, 28, 70, 24};
  em_0.geometry = ui::Geometry{392, 26, 110, 26};
  dw_display.geometry = ui::Geometry{0, 72, 800, 480};

  on("em_1", "ue_before_construct", [this](const ui::Event&) { return em_1_ue_before_construct(); });
  on("em_1", "ue_key", [this](const ui::Event& e) { return em_1_ue_key(e.key, e.keyflags); });
  on("em_1", "ue_after_double", [this](const ui::Event&) { return em_1_ue_after_double(); });
  on("pb_1", "clicked", [this](const ui::Event&) { return pb_1_clicked(); });
}

long w_svc305::ue_before_open() {
  if (fw::w_stmm_display::ue_before_open() == 0) return 0;
  const fw::Globals& g = fw::g();
  is_jsrq = g.gd_xtrq.to_date_string();
  if (fw::f_retu_czyauth("CJ")) {
    is_qsrq = g.gd_qsrq.to_date_string();
  } else {
    is_qsrq = g.gd_xtrq.to_date_string();
    em_1.enabled = false;
  }
  em_1.text = is_jsrq;
  em_0.text = is_jsrq;

  is_retrievecolumnstring = "djsrq,djsrq";
  ia_retrievecolumnvalue = {Value(is_jsrq), Value(is_qsrq)};
  is_primarykey = "cwtsbh";
  is_first_colname_add = "cwxzt";
  is_last_colname_add = "cwxzt";
  is_first_colname_change = "cwxzt";
  is_last_colname_change = "cwxzt";
  is_double_columnname = {""};
  is_editwindowname = "w_svc305_01";
  inv_resize.of_register(dw_display, 0, 0, 100, 100);
  inv_resize.of_register(dw_toolbar, 0, 0, 100, 0);
  inv_resize.of_register(gb_1, 0, 0, 100, 0);
  return 1;
}

long w_svc305::open() {
  if (fw::w_stmm_display::open() == 0) return 0;
  em_1.setfocus();
  return 1;
}

long w_svc305::ue_do_insert() { return 1; }

long w_svc305::em_1_ue_before_construct() {
  em_1.dropdown_calendar = true;
  em_1.calendar_date = fw::g().gd_xtrq.to_date_string();
  return 1;
}

long w_svc305::em_1_ue_key(int key, int keyflags) {
  (void)keyflags;
  if (key == 13) return wf_double_enter();
  return 0;
}

long w_svc305::em_1_ue_after_double() { return wf_double_enter(); }

long w_svc305::pb_1_clicked() { return wf_double_enter(); }

long w_svc305::wf_double_enter() {
  std::optional<std::string> ls_text = date_text(em_1.text);
  if (!ls_text || *ls_text <= "1900/01/01" || *ls_text > "2045/01/01") {
    msg(fw::g().gs_tsxx, "日期输入错误!");
    return 0;
  }
  em_1.text = *ls_text;
  is_jsrq = *ls_text;
  ia_retrievecolumnvalue = {Value(is_jsrq), Value(is_qsrq)};
  const long rows = dw_display->retrieve(is_jsrq, is_qsrq);
  if (rows < 0) fw::f_sqlca("检索数据失败！");
  if (rows > 0) {
    fw::f_select_current_row(dw_display);
    postevent("ue_showthis");
  }
  return 1;
}

long w_svc305::dw_display_doubleclicked(long xpos, long ypos, long row, const std::string& dwo) {
  auto listed = DateTime::parse(is_jsrq);
  if ((!listed || listed->date() != fw::g().gd_xtrq.date()) && !fw::f_retu_czyauth("CJ")) {
    fw::messagebox(fw::g().gs_tsxx, "您只能取消今天结算的单据！", ui::Icon::Exclamation);
    return 0;
  }
  if (row < 1) return 0;  // the heading
  fw::w_stmm_display::dw_display_doubleclicked(xpos, ypos, row, dwo);
  return wf_openeditwindow("edit");
}

}  // namespace kq::svc
