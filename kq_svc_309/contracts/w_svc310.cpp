#include "contracts/w_svc310.h"

#include "contracts/document_number.h"
#include "framework/f_select_current_row.h"
#include "framework/session.h"
#include "framework/us_preview_parameter.h"
#include "framework/us_svc_xmmx.h"
#include "framework/w_pop_rqts.h"
#include "framework/w_sys_dwpreview.h"
#include "platform/ui/window_manager.h"
#include "platform/value/text.h"

namespace kq::svc {
namespace {

constexpr int kEnter = 13;

std::string trimmed(const Str& s) { return s ? text::trim(*s) : std::string(); }

}  // namespace

w_svc310::w_svc310()
    : fw::w_large("w_svc310", "打印工单"),
      dw_ht(add<ui::DataWindowControl>("dw_ht")),
      dw_jyd(add<ui::DataWindowControl>("dw_jyd")) {
  changemenu("m_sys_14");
  dw_1->dataobject("d_svc310_01");
  dw_1.geometry = ui::Geometry{0, 0, 800, 560};
  dw_ht->dataobject("d_svc310_03");
  dw_ht.visible = false;
  dw_jyd.visible = false;
}

bool w_svc310::showing_current() const {
  auto it = is_menutext.find(1);
  return it != is_menutext.end() && it->second == "全部";
}

long w_svc310::ue_before_open() {
  w_large::ue_before_open();
  is_menutext[1] = "全部";
  is_menutext[2] = "合同";
  is_menutext[3] = "检验单";
  is_menutext[4] = "明细";
  inv_resize.of_register(dw_toolbar, 0, 0, 100, 0);
  inv_resize.of_register(dw_1, 0, 0, 100, 100);
  dw_1->settransobject(fw::session().sqlca);
  dw_1->retrieve();
  fw::f_select_current_row(dw_1);
  ib_refresh_enabled = true;
  return 1;
}

long w_svc310::ue_refresh() {
  w_large::ue_refresh();
  if (showing_current())
    dw_1->retrieve();
  else
    dw_1->retrieve(is_qsrq, is_jzrq);
  return 1;
}

long w_svc310::ue_cus(long ai_select) {
  w_large::ue_cus(ai_select);
  if (dw_1->getrow() < 1) return 0;
  switch (ai_select) {
    case 1: return switch_list();
    case 2: return contract();
    case 3: return inspection_sheet();
    case 4: return wf_double_enter();
    default: return 1;
  }
}

long w_svc310::switch_list() {
  fw::Session& s = fw::session();
  if (showing_current()) {
    Str answer = fw::w_pop_rqts(this);
    if (!answer) return 0;
    const std::size_t at = answer->find('@');
    if (at == std::string::npos) return 0;
    is_qsrq = answer->substr(0, at);
    is_jzrq = answer->substr(at + 1);
    dw_1->dataobject("d_svc310_02");
    dw_1->settransobject(s.sqlca);
    dw_1->retrieve(is_qsrq, is_jzrq);
    is_menutext[1] = "当前";
  } else {
    dw_1->dataobject("d_svc310_01");
    dw_1->settransobject(s.sqlca);
    dw_1->retrieve();
    is_menutext[1] = "全部";
  }
  wf_menu_init();
  return 1;
}

std::string w_svc310::current_wtsbh() {
  const long row = dw_1->getrow();
  return row < 1 ? std::string() : trimmed(dw_1->getitemstring(row, "cwtsbh"));
}

long w_svc310::contract() {
  const long row = dw_1->getrow();
  std::string ls_hth = trimmed(dw_1->getitemstring(row, "chth"));
  const std::string ls_wtsbh = current_wtsbh();
  if (ls_wtsbh.empty()) return 0;
  if (ls_hth.empty() && showing_current()) {
    dw_ht->dataobject("d_svc310_03_now");
    Str made = new_document_number(kContractNumber);
    if (!made || made->empty()) {
      msg(fw::g().gs_tsxx, kContractNumber.make_failed);
      return 0;
    }
    StoredNumber stored = store_document_number(kContractNumber, ls_wtsbh, *made);
    if (!stored.number) {
      msg(fw::g().gs_tsxx, stored.failure);
      return 0;
    }
    ls_hth = *stored.number;
    dw_1->setitem(row, "chth", Value(ls_hth));
  } else {
    dw_ht->dataobject("d_svc310_03");
  }
  preview_document(dw_ht, ls_wtsbh);
  return 1;
}

long w_svc310::inspection_sheet() {
  const long row = dw_1->getrow();
  const std::string ls_hth = trimmed(dw_1->getitemstring(row, "cjydh"));
  const std::string ls_wtsbh = current_wtsbh();
  if (ls_wtsbh.empty()) return 0;
  if (showing_current()) {
    dw_jyd->dataobject("d_svc310_04");
    if (ls_hth.empty()) {
      Str made = new_document_number(kInspectionNumber);
      if (!made || made->empty()) {
        msg(fw::g().gs_tsxx, kInspectionNumber.make_failed);
        return 0;
      }
      StoredNumber stored = store_document_number(kInspectionNumber, ls_wtsbh, *made);
      if (!stored.number) {
        msg(fw::g().gs_tsxx, stored.failure);
        return 0;
      }
      dw_1->setitem(row, "cjydh", Value(*stored.number));
    }
  } else {
    dw_jyd->dataobject("d_svc310_05");
  }
  preview_document(dw_jyd, ls_wtsbh);
  return 1;
}

void w_svc310::preview_document(ui::DataWindowControl& d, const std::string& wtsbh) {
  d->settransobject(fw::session().sqlca);
  d->retrieve(wtsbh);
  idw_preview = &d;
  ue_prev();
  idw_preview = &dw_1;
}

void w_svc310::ue_prev() {
  if (!idw_preview) return;
  fw::us_preview_parameter p;
  p.i_datawindow_type = 1;
  p.dw_datawindow_name = &idw_preview->dw();
  p.s_winname = classname();
  p.s_title = "";
  p.s_string = "nop";
  fw::w_sys_dwpreview(p);
}

long w_svc310::ue_preview() {
  if (!idw_preview) return 0;
  fw::us_preview_parameter p;
  p.i_datawindow_type = 1;
  p.dw_datawindow_name = &idw_preview->dw();
  p.s_winname = classname();
  p.s_title = "委托书打印工单";
  return fw::w_sys_dwpreview(p) == 1 ? 1 : 0;
}

long w_svc310::wf_double_enter() {
  const std::string ls_wtsbh = current_wtsbh();
  if (ls_wtsbh.empty()) return 0;
  fw::us_svc_xmmx lstr;
  lstr.s_wtsbh = ls_wtsbh;
  lstr.l_lb = 1;
  manager()->open("w_svc302_03", ui::Message::of_object(lstr), this);
  return 1;
}

long w_svc310::dw_1_doubleclicked(long xpos, long ypos, long row, const std::string& dwo) {
  w_large::dw_1_doubleclicked(xpos, ypos, row, dwo);
  return wf_double_enter();
}

long w_svc310::dw_1_ue_keydown(int key, int keyflags) {
  const long result = w_large::dw_1_ue_keydown(key, keyflags);
  if (key == kEnter) wf_double_enter();
  return result;
}

}  // namespace kq::svc
