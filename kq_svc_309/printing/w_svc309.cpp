#include "printing/w_svc309.h"

#include <charconv>
#include <memory>

#include "framework/f_msg.h"
#include "framework/f_retu_para.h"
#include "framework/f_select_current_row.h"
#include "framework/session.h"
#include "framework/uo_svc_print.h"
#include "framework/us_preview_parameter.h"
#include "framework/us_sys_query.h"
#include "framework/w_pop_rqts.h"
#include "framework/w_sys_dwpreview.h"
#include "platform/value/text.h"

namespace kq::svc {
namespace {

constexpr int kEnter = 13;
constexpr int kCtrl = 2;
constexpr const char* kCurrentList = "全部";  // is_menutext[1] while the current list is shown

std::string trimmed(const Str& s) { return s ? text::trim(*s) : std::string(); }

// A whole number written as text; `otherwise` when the text is not one.
long whole_number(const std::string& s, long otherwise) {
  long n = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
  return ec == std::errc() && end == s.data() + s.size() ? n : otherwise;
}

}  // namespace

w_svc309::w_svc309()
    : fw::w_large("w_svc309", "打印结算单"),
      cbx_1(add_control("cbx_1", ui::ControlKind::CheckBox, "包含前欠")),
      em_1(add_control("em_1", ui::ControlKind::EditMask)),
      st_1(add_control("st_1", ui::ControlKind::StaticText, "打印份数")),
      cbx_2(add_control("cbx_2", ui::ControlKind::CheckBox, "显示税额")),
      rb_1(add_control("rb_1", ui::ControlKind::RadioButton, "I")),
      rb_2(add_control("rb_2", ui::ControlKind::RadioButton, "O")),
      dw_jsd(add<ui::DataWindowControl>("dw_jsd")),
      dw_cmz(add<ui::DataWindowControl>("dw_cmz")),
      cbx_3(add_control("cbx_3", ui::ControlKind::CheckBox, "定损显示优惠")),
      cbx_4(add_control("cbx_4", ui::ControlKind::CheckBox, "打印会员信息")),
      gb_1(add_control("gb_1", ui::ControlKind::GroupBox)) {
  changemenu("m_sys_04");
  dw_1->dataobject("d_svc309_01");
  em_1.mask = "#";
  em_1.spin = ui::SpinRange{1, 9, 1};
  em_1.label = "打印份数";
  rb_2.checked = true;
  dw_jsd.visible = false;
  dw_jsd->dataobject("d_svc303_01_05");
  dw_cmz.visible = false;
  dw_cmz->dataobject("d_svc303_01_04");
  cbx_3.enabled = false;
  cbx_4.enabled = false;

  gb_1.geometry = ui::Geometry{0, 0, 800, 36};
  cbx_1.geometry = ui::Geometry{8, 8, 90, 22};
  st_1.geometry = ui::Geometry{104, 10, 60, 20};
  em_1.geometry = ui::Geometry{166, 8, 36, 22};
  cbx_2.geometry = ui::Geometry{214, 8, 90, 22};
  rb_1.geometry = ui::Geometry{312, 8, 40, 22};
  rb_2.geometry = ui::Geometry{356, 8, 40, 22};
  cbx_3.geometry = ui::Geometry{404, 8, 120, 22};
  cbx_4.geometry = ui::Geometry{530, 8, 120, 22};
  dw_1.geometry = ui::Geometry{0, 40, 800, 512};

  on("cbx_1", "clicked", [this](const ui::Event&) {
    wf_filter();
    wf_cbx_3();
    return 1;
  });
  on("rb_1", "clicked", [this](const ui::Event&) { return wf_filter() ? 1 : 0; });
  on("rb_2", "clicked", [this](const ui::Event&) { return wf_filter() ? 1 : 0; });
}

long w_svc309::ue_before_open() {
  w_large::ue_before_open();
  fw::Session& s = fw::session();
  inv_resize.of_register(dw_toolbar, 0, 0, 100, 0);
  inv_resize.of_register(gb_1, 0, 0, 100, 0);
  inv_resize.of_register(dw_1, 0, 0, 100, 100);
  is_menutext[1] = kCurrentList;
  is_menutext[2] = "打印结算单";
  is_menutext[3] = "打印出门证";
  idw_preview = &dw_1;
  idw_lock = &dw_1;
  dw_1->settransobject(s.sqlca);
  dw_1->retrieve();

  Long li_dyfs = 0L;
  s.sqlca.exec("select top 1 ndyfs into :li_dyfs from sysb12 where cdydjlb ='14' and cgsh =:gs_gsh",
               {{"gs_gsh", s.g.gs_gsh}, {"li_dyfs", db::out(li_dyfs)}});
  if (s.sqlca.sqlcode == -1) fw::f_msg(s.g.gs_tsxx, "读取当前委托书的默认打印份数失败!");
  if (s.sqlca.sqlcode == 0 && !li_dyfs) li_dyfs = 1L;
  if (s.sqlca.sqlcode != 0) li_dyfs = 0L;
  em_1.text = std::to_string(*li_dyfs);

  if (whole_number(trimmed(fw::f_retu_para("SVC", "LJSDXSSE")), 0) == 1) cbx_2.checked = true;
  std::string ls_hykaz = trimmed(fw::f_retu_para("sys", "LVIPAZ"));
  std::string ls_cluaz = trimmed(fw::f_retu_para("sys", "LCLUAZ"));
  if (ls_hykaz.empty()) ls_hykaz = "0";
  if (ls_cluaz.empty()) ls_cluaz = "0";
  if (ls_hykaz == "1" || ls_cluaz == "1") {
    cbx_4.enabled = true;
    cbx_4.checked = true;
  }

  ib_refresh_enabled = true;
  wf_filter();
  return 1;
}

long w_svc309::open() {
  w_large::open();
  dw_d = &dw_1;
  wf_lock_init();
  return 1;
}

bool w_svc309::wf_filter() {
  const std::string first = cbx_1.checked ? " (1 = 1 )" : " (cwxzt = '1' or (cwxzt = '2' and lqqbs = 0) )";
  const std::string second = rb_1.checked ? " and (bs = '*') " : " and (1 = 1) ";
  dw_1->setfilter(first + second);
  dw_1->filter();
  dw_1.ois_outfilter = first + second;
  dw_1->setsort("djsrq D ,cwtsbh A");
  dw_1->sort();
  dw_1.ois_sort = "djsrq D ,cwtsbh A";
  if (dw_1->rowcount() > 0) fw::f_select_current_row(dw_1);
  return true;
}

void w_svc309::cbx_3_rule(const Str& wtsbh) {
  if (wtsbh && !wtsbh->empty() && wtsbh->front() == 'A') {
    if (!cbx_3.enabled) {
      cbx_3.enabled = true;
      cbx_3.checked = true;
    }
    return;
  }
  cbx_3.enabled = false;
  cbx_3.checked = false;
}

void w_svc309::wf_cbx_3() {
  if (dw_1->rowcount() < 1) return;
  dw_1->selectrow(0, false);
  dw_1->selectrow(1, true);
  dw_1->scrolltorow(1);
  dw_1->setrow(1);
  cbx_3_rule(dw_1->getitemstring(1, "cwtsbh"));
}

bool w_svc309::wf_double_enter() {
  ib_doub = true;
  ui::Event e;
  e.number = 2;
  const long result = triggerevent("ue_cus", e);
  ib_doub = false;
  return result != 0;
}

int w_svc309::copies() const {
  const long n = whole_number(text::trim(em_1.text), 1);
  return static_cast<int>(n < 1 ? 1 : (n > 9 ? 9 : n));
}

long w_svc309::ue_refresh() {
  w_large::ue_refresh();
  if (is_menutext[1] == kCurrentList) dw_1->retrieve();
  else dw_1->retrieve(is_qsrq, is_jzrq);
  return 1;
}

long w_svc309::ue_query() {
  w_large::ue_query();
  fw::us_sys_query lstr_query;
  lstr_query.qs_dw.push_back(&dw_1);
  lstr_query.qs_filter.push_back(dw_1.ois_outfilter);
  wf_query(lstr_query);
  wf_cbx_3();
  return 1;
}

long w_svc309::ue_preview() {
  if (!idw_preview) return 0;
  fw::us_preview_parameter lstr_preview;
  lstr_preview.i_datawindow_type = 1;
  lstr_preview.dw_datawindow_name = &idw_preview->dw();
  lstr_preview.s_datawindow_syntax = "";
  lstr_preview.s_winname = classname();
  lstr_preview.s_title = "";
  lstr_preview.s_modify = is_xstp;
  lstr_preview.s_string = "nop";
  fw::w_sys_dwpreview(lstr_preview);
  return 1;
}

long w_svc309::ue_cus(long ai_select) {
  w_large::ue_cus(ai_select);
  fw::Session& s = fw::session();
  switch (ai_select) {
    case 1: {
      if (is_menutext[1] == kCurrentList) {
        const Str answer = fw::w_pop_rqts(this);
        if (!answer) return 0;
        const size_t li_position = answer->find('@');
        if (li_position == std::string::npos || li_position < 1) return 0;
        is_qsrq = answer->substr(0, li_position);
        is_jzrq = answer->substr(li_position + 1);
        dw_1->dataobject("d_svc309_02");
        dw_1->setredraw(false);
        dw_1->settransobject(s.sqlca);
        dw_1->retrieve(is_qsrq, is_jzrq);
        is_menutext[1] = "当前";
      } else {
        dw_1->dataobject("d_svc309_01");
        dw_1->setredraw(false);
        dw_1->settransobject(s.sqlca);
        dw_1->retrieve();
        is_menutext[1] = kCurrentList;
      }
      wf_menu_init();
      wf_filter();
      dw_1->setredraw(true);
      return 1;
    }
    case 2: {
      const long row = dw_1->getrow();
      if (row < 1) return 0;
      auto inv_print = std::make_unique<fw::uo_svc_print>();  // lives for this command only
      const std::string ls_wtsbh = dw_1->getitemstring(row, "cwtsbh").value_or("");
      if (ls_wtsbh.empty()) return 0;
      std::string ls_zt = trimmed(dw_1->getitemstring(row, "cwxzt"));
      if (ls_zt.empty()) ls_zt = "0";
      const int li_hyxx = cbx_4.checked ? 1 : 0;
      const int li_xsse = cbx_2.checked ? 1 : 0;
      const int li_qz = ls_zt == "2" ? 1 : 0;
      inv_print->ii_copies = copies();
      inv_print->uf_print_jsd(!rb_1.checked, !ib_doub, dw_jsd, is_xstp, 1, li_hyxx, li_xsse, dw_jsd, ls_wtsbh,
                              dw_cmz, 0, "0", li_qz);
      inv_print.reset();
      if (ib_doub) {
        idw_preview = &dw_jsd;
        triggerevent("ue_preview");
        idw_preview = &dw_1;
      }
      return 1;
    }
    case 3: {
      const long row = dw_1->getrow();
      if (row < 1) return 0;
      const std::string ls_wtsbh = dw_1->getitemstring(row, "cwtsbh").value_or("");
      if (ls_wtsbh.empty()) return 0;
      dw_cmz->dataobject(is_menutext[1] == kCurrentList ? "d_svc303_01_04" : "d_svc303_01_04_h");
      dw_cmz->settransobject(s.sqlca);
      dw_cmz->retrieve(ls_wtsbh);
      idw_preview = &dw_cmz;
      triggerevent("ue_preview");
      idw_preview = &dw_1;
      return 1;
    }
    default: return 1;
  }
}

void w_svc309::heading_clicked(ui::DataWindowControl& control, const std::string& column) {
  if (&control != &dw_1) w_large::heading_clicked(control, column);
}

long w_svc309::dw_1_clicked(long, long, long row, const std::string& dwo) {
  if (row > 0) return 0;
  // The workstation names a heading by its column ("cwtsbh") or as the
  // heading text object ("cwtsbh_t").
  std::string heading = text::lower(text::trim(dwo));
  if (!heading.empty() && heading.find("_t") == std::string::npos && dw_1->definition().find_column(heading))
    heading += "_t";
  const long current = dw_1->getrow();
  const bool not_modified =
      current < 1 || dw_1->getitemstatus(current, 0, dw::Buffer::Primary) == dw::ItemStatus::NotModified;
  if (not_modified && heading.find("_t") != std::string::npos) {
    if ((ii_keyflags & kCtrl) && !dw_1.ois_sort.empty()) dw_1.of_sort_many(heading);
    else dw_1.of_sort_single(heading);
    dw_1.of_redraw();
  }
  wf_cbx_3();
  return 0;
}

long w_svc309::dw_1_doubleclicked(long xpos, long ypos, long row, const std::string& dwo) {
  w_large::dw_1_doubleclicked(xpos, ypos, row, dwo);
  wf_double_enter();
  return 0;
}

long w_svc309::dw_1_rbuttondown(long xpos, long ypos, long row, const std::string& dwo) {
  w_large::dw_1_rbuttondown(xpos, ypos, row, dwo);
  wf_cbx_3();
  return 0;
}

long w_svc309::dw_1_rowfocuschanged(long currentrow) {
  w_large::dw_1_rowfocuschanged(currentrow);
  if (currentrow > 0) cbx_3_rule(dw_1->getitemstring(currentrow, "cwtsbh"));
  return 0;
}

long w_svc309::dw_1_ue_keydown(int key, int keyflags) {
  w_large::dw_1_ue_keydown(key, keyflags);
  if (key == kEnter) wf_double_enter();
  return 1;
}

}  // namespace kq::svc
