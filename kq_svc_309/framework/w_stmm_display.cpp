#include "framework/w_stmm_display.h"

#include <algorithm>
#include <iostream>

#include "framework/f_select_current_row.h"
#include "framework/heading_sort.h"
#include "framework/f_sqlca.h"
#include "framework/session.h"
#include "framework/us_edit_row.h"
#include "platform/ui/window_manager.h"
#include "platform/value/text.h"

namespace kq::fw {
namespace {

std::vector<std::string> split_names(std::string_view list) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    std::string name =
        text::trim(list.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    start = comma == std::string_view::npos ? list.size() + 1 : comma + 1;
    if (!name.empty()) out.push_back(text::lower(name));
  }
  return out;
}

}  // namespace

w_stmm_display::w_stmm_display(std::string classname, std::string title)
    : w_sheet(std::move(classname), std::move(title)), dw_display(add<ui::DataWindowControl>("dw_display")) {
  dw_d = &dw_display;
  on("", "ue_do_insert", [this](const ui::Event&) { return ue_do_insert(); });
  on("", "ue_do_change", [this](const ui::Event&) { return ue_do_change(); });
  on("", "ue_refresh", [this](const ui::Event&) { return ue_refresh(); });
  on("", "ue_showthis", [this](const ui::Event&) { return ue_showthis(); });
  // The highlighted row is the current row: wherever the current row moves
  // (a click, the keys), the highlight follows.
  on("dw_display", "rowfocuschanged", [this](const ui::Event&) { return f_select_current_row(dw_display) == 1 ? 1L : 0L; });
  on("dw_display", "doubleclicked",
     [this](const ui::Event& e) { return dw_display_doubleclicked(e.xpos, e.ypos, e.row, e.column); });
  set_toolbar({{"ue_do_insert", 0, "增加", true},
               {"ue_do_change", 0, "修改", true},
               {"ue_do_delete", 0, "删除", true},
               {"ue_refresh", 0, "刷新", true},
               {"close", 0, "关闭", true}});
}

void w_stmm_display::list_settings() {
  dw::DataWindow& d = dw_display;
  d.settransobject(session().sqlca);
  d.set_readonly(true);
  d.modify("DataWindow.Grid.ColumnMove=No");
  d.modify("DataWindow.Selected.Mouse=No");
}

long w_stmm_display::ue_before_open() {
  dw_d = &dw_display;
  list_settings();
  return 1;
}

long w_stmm_display::open() {
  list_settings();  // the window may have set another dataobject since
  wf_retrieve();
  w_sheet::open();
  dw_display.setfocus();
  return 1;
}

std::vector<Value> w_stmm_display::retrieval_arguments() const {
  const std::size_t n = std::min(split_names(is_retrievecolumnstring).size(), ia_retrievecolumnvalue.size());
  return std::vector<Value>(ia_retrievecolumnvalue.begin(), ia_retrievecolumnvalue.begin() + static_cast<long>(n));
}

long w_stmm_display::wf_retrieve() {
  long rows = dw_display->retrieve(retrieval_arguments());
  if (rows < 0) {
    std::cerr << "kq_svc_309: " << classname() << ": " << dw_display->last_error() << '\n';
    f_sqlca("检索数据失败！");
    return -1;
  }
  if (rows > 0) f_select_current_row(dw_display);
  return rows;
}

long w_stmm_display::wf_openeditwindow(std::string_view mode) {
  const bool add = text::iequals(mode, "add") || text::iequals(mode, "insert");
  if (is_editwindowname.empty() || !manager()) return 0;
  dw::DataWindow& d = dw_display;
  us_edit_row parm;
  parm.mode = add ? "add" : "edit";
  parm.key_columns = split_names(is_primarykey);
  parm.retrieval_values = retrieval_arguments();
  if (!add) {
    const long row = d.getrow();
    if (row < 1 || !d.has_definition()) return 0;
    for (const auto& column : parm.key_columns) parm.key_values.push_back(d.getitem(row, column));
    const auto& columns = d.definition().columns;
    for (std::size_t i = 0; i < columns.size(); ++i)
      parm.row[columns[i].name] = d.getitem(row, static_cast<int>(i + 1));
  }
  if (ui::Window* open = manager()->find(is_editwindowname)) ui::close(*open);
  return manager()->open(is_editwindowname, ui::Message::of_object(std::move(parm)), this) ? 1 : 0;
}

long w_stmm_display::ue_do_insert() { return wf_openeditwindow("add"); }

long w_stmm_display::ue_do_change() { return wf_openeditwindow("edit"); }

long w_stmm_display::ue_refresh() {
  wf_retrieve();
  return 1;
}

long w_stmm_display::ue_showthis() {
  dw_display.setfocus();
  f_select_current_row(dw_display);
  return 1;
}

long w_stmm_display::ue_execute_cancel() {
  w_sheet::ue_execute_cancel();
  wf_retrieve();
  return 1;
}

long w_stmm_display::dw_display_doubleclicked(long, long, long, const std::string&) { return 0; }

void w_stmm_display::heading_clicked(ui::DataWindowControl& control, const std::string& column) {
  sort_by_heading(control, column);
}

}  // namespace kq::fw
