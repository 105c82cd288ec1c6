#include "framework/w_large.h"

#include "framework/f_select_current_row.h"
#include "framework/heading_sort.h"
#include "framework/session.h"
#include "framework/w_sys_dwpreview.h"

namespace kq::fw {

w_large::w_large(std::string classname, std::string title)
    : w_sheet(std::move(classname), std::move(title)), dw_1(add<uo_dw_d>("dw_1")) {
  on("", "ue_refresh", [this](const ui::Event&) { return ue_refresh(); });
  on("", "ue_query", [this](const ui::Event&) { return ue_query(); });
  on("", "ue_preview", [this](const ui::Event&) { return ue_preview(); });
  on("dw_1", "clicked", [this](const ui::Event& e) {
    ii_keyflags = e.keyflags;
    return dw_1_clicked(e.xpos, e.ypos, e.row, e.column);
  });
  on("dw_1", "doubleclicked",
     [this](const ui::Event& e) { return dw_1_doubleclicked(e.xpos, e.ypos, e.row, e.column); });
  on("dw_1", "rbuttondown", [this](const ui::Event& e) { return dw_1_rbuttondown(e.xpos, e.ypos, e.row, e.column); });
  // The highlight follows the current row before the window's own handling.
  on("dw_1", "rowfocuschanged", [this](const ui::Event& e) {
    f_select_current_row(dw_1);
    return dw_1_rowfocuschanged(e.row);
  });
  on("dw_1", "ue_keydown", [this](const ui::Event& e) { return dw_1_ue_keydown(e.key, e.keyflags); });
}

long w_large::ue_before_open() {
  dw_d = &dw_1;
  idw_preview = &dw_1;
  idw_lock = &dw_1;
  dw_1->settransobject(session().sqlca);
  return 1;
}

long w_large::open() {
  w_sheet::open();
  dw_1.setfocus();
  return 1;
}

long w_large::wf_menu_init() {
  w_sheet::wf_menu_init();
  set_toolbar({{"ue_refresh", 0, "刷新", ib_refresh_enabled},
               {"ue_query", 0, "查询", true},
               {"ue_preview", 0, "预览", true},
               {"close", 0, "关闭", true}});
  return 1;
}

long w_large::wf_lock_init() {
  if (idw_lock) idw_lock->locked_columns = 1;
  return 1;
}

long w_large::wf_query(const us_sys_query& q) {
  for (std::size_t i = 0; i < q.qs_dw.size(); ++i) {
    ui::DataWindowControl* d = q.qs_dw[i];
    if (!d) continue;
    const std::string filter = i < q.qs_filter.size() ? q.qs_filter[i] : "";
    if (d->dw().setfilter(filter) == 1) d->dw().filter();
    f_select_current_row(d->dw());
  }
  return 1;
}

long w_large::ue_refresh() { return 1; }

long w_large::ue_query() { return 1; }

long w_large::ue_preview() {
  if (!idw_preview) return 0;
  us_preview_parameter p;
  p.i_datawindow_type = 1;
  p.dw_datawindow_name = &idw_preview->dw();
  p.s_winname = classname();
  p.s_title = title;
  return w_sys_dwpreview(p) == 1 ? 1 : 0;
}

long w_large::dw_1_clicked(long, long, long, const std::string&) { return 0; }
long w_large::dw_1_doubleclicked(long, long, long, const std::string&) { return 0; }
long w_large::dw_1_rbuttondown(long, long, long, const std::string&) { return 0; }
long w_large::dw_1_rowfocuschanged(long) { return 0; }
long w_large::dw_1_ue_keydown(int key, int keyflags) { return dw_1.ue_keydown(key, keyflags); }

void w_large::heading_clicked(ui::DataWindowControl& control, const std::string& column) {
  sort_by_heading(control, column);
}

}  // namespace kq::fw
