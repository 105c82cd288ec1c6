#include "framework/w_stmm_edit.h"

#include <iostream>
#include <utility>

#include "framework/f_msg.h"
#include "framework/session.h"
#include "framework/w_stmm_display.h"
#include "platform/db/read_scheduler.h"
#include "platform/ui/window_manager.h"
#include "platform/value/format.h"

namespace kq::fw {
namespace {

// A text as a string literal of the expression language ('~' escapes).
std::string quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '~' || c == '\'') out += '~';
    out += c;
  }
  return out + "'";
}

}  // namespace

w_stmm_edit::w_stmm_edit(std::string classname, std::string title)
    : w_sheet(std::move(classname), std::move(title)),
      dw_edit(add<ui::DataWindowControl>("dw_edit")) {
  dw_u = &dw_edit;
  dw_d = &dw_edit;
  on("", "ue_do_insert", [this](const ui::Event&) { return ue_do_insert(); });
  on("", "ue_after_insert", [this](const ui::Event&) { return ue_after_insert(); });
  // A save (whatever a window's ue_save does: validation, the unit of work,
  // the refresh of the list after the commit) is urgent work: its retrievals
  // go before other workstations' lists.
  on("", "ue_save", [this](const ui::Event&) {
    db::UrgentReads urgent;
    return ue_save();
  });
  on("", "ue_valid_check", [this](const ui::Event&) { return ue_valid_check(); });
  on("", "ue_before_update", [this](const ui::Event&) { return ue_before_update(); });
  on("", "ue_before_commit", [this](const ui::Event&) { return ue_before_commit(); });
  on("", "ue_after_save", [this](const ui::Event&) { return ue_after_save(); });
  on("", "ue_click_itemchange_rownotmove", [this](const ui::Event&) { return ue_click_itemchange_rownotmove(); });
  on("", "ue_close_saved", [this](const ui::Event&) { return ue_close_saved(); });
  on("dw_edit", "clicked", [this](const ui::Event& e) { return dw_edit_clicked(e.xpos, e.ypos, e.row, e.column); });
  on("dw_edit", "itemchanged", [this](const ui::Event& e) { return dw_edit_itemchanged(e.row, e.column, e.data); });
  set_toolbar({{"ue_cus", 1, "保存", true}, {"ue_do_delete", 0, "删除", true}, {"close", 0, "关闭", true}});
}

long w_stmm_edit::ue_before_open() {
  dw_u = &dw_edit;
  dw_d = &dw_edit;
  dw_edit->settransobject(session().sqlca);
  if (const us_edit_row* r = edit_row()) {
    is_primarykey.clear();
    for (const auto& k : r->key_columns) is_primarykey += (is_primarykey.empty() ? "" : ",") + k;
  }
  return 1;
}

long w_stmm_edit::open() {
  w_sheet::open();
  dw_edit->settransobject(session().sqlca);  // the window may have set another dataobject since
  if (const us_edit_row* r = edit_row()) {
    if (r->mode == "add") ue_do_insert();
    else wf_retrieve_edit();
  }
  dw_edit.setfocus();
  return 1;
}

bool w_stmm_edit::filter_to_key(const us_edit_row& r) {
  dw::DataWindow& d = dw_edit;
  std::string expression;
  for (std::size_t i = 0; i < r.key_columns.size() && i < r.key_values.size(); ++i) {
    const std::string& column = r.key_columns[i];
    const Value& v = r.key_values[i];
    if (!d.definition().find_column(column)) return false;
    std::string term;
    if (v.is_null()) term = "isnull(" + column + ")";
    else if (v.is_string()) term = column + " = " + quoted(v.str());
    else if (v.is_number()) term = column + " = " + format::general(v);
    else return false;
    expression += (expression.empty() ? "" : " and ") + term;
  }
  if (expression.empty() || d.setfilter(expression) != 1) return false;
  d.filter();
  return true;
}

void w_stmm_edit::copy_row(const us_edit_row& r) {
  dw::DataWindow& d = dw_edit;
  d.setfilter("");
  d.filter();
  d.reset();
  const long row = d.insertrow(0);
  if (row < 1) return;
  for (const auto& [column, value] : r.row)
    if (d.definition().find_column(column) && !value.is_null()) d.setitem(row, column, value);
  d.setitemstatus(row, 0, dw::Buffer::Primary, dw::ItemStatus::NotModified);
  d.setrow(row);
}

long w_stmm_edit::wf_retrieve_edit() {
  const us_edit_row* r = edit_row();
  dw::DataWindow& d = dw_edit;
  if (!r || r->mode == "add" || !d.has_definition()) return 0;
  const std::size_t n = d.definition().arguments.size();
  if (r->retrieval_values.size() >= n) {
    std::vector<Value> arguments(r->retrieval_values.begin(), r->retrieval_values.begin() + static_cast<long>(n));
    if (d.retrieve(arguments) >= 0 && filter_to_key(*r) && d.rowcount() == 1) {
      d.setrow(1);
      return 1;
    }
  }
  copy_row(*r);
  return 1;
}

long w_stmm_edit::ue_do_insert() {
  const long row = dw_edit->insertrow(0);
  if (row < 1) return 0;
  dw_edit->setrow(row);
  dw_edit->scrolltorow(row);
  return ue_after_insert();
}

long w_stmm_edit::ue_after_insert() { return 1; }

long w_stmm_edit::ue_cus(long ai_select) {
  if (w_sheet::ue_cus(ai_select) == 0) return 0;
  if (ai_select == 1) return triggerevent("ue_save");
  return 1;
}

long w_stmm_edit::ue_save() {
  if (!dw_u) return 0;
  dw::DataWindow& d = *dw_u;
  db::Transaction& sqlca = session().sqlca;
  if (d.accepttext() != 1) return 0;

  // Rows to be written, so that a save stopped after the update can be made again.
  std::vector<std::pair<long, dw::ItemStatus>> changed;
  for (long row = 1; row <= d.rowcount(); ++row) {
    dw::ItemStatus s = d.getitemstatus(row, 0);
    if (s == dw::ItemStatus::DataModified || s == dw::ItemStatus::NewModified) changed.emplace_back(row, s);
  }
  auto stop = [&](bool updated) -> long {
    sqlca.rollback();
    if (updated)
      for (const auto& [row, status] : changed) d.setitemstatus(row, 0, dw::Buffer::Primary, status);
    return 0;
  };

  if (triggerevent("ue_valid_check") == 0) return stop(false);
  if (!wf_confirm_save()) return stop(false);
  if (triggerevent("ue_before_update") == 0) return stop(false);
  if (d.update() != 1) {
    std::cerr << "kq_svc_309: " << classname() << ": " << d.last_error() << '\n';
    msg(g().gs_tsxx, "数据保存失败！");
    return stop(false);
  }
  if (triggerevent("ue_before_commit") == 0) return stop(true);
  sqlca.commit();
  if (sqlca.sqlcode == -1) {
    std::cerr << "kq_svc_309: " << classname() << ": commit: " << sqlca.sqlerrtext << '\n';
    msg(g().gs_tsxx, "数据提交失败！");
    return stop(true);
  }
  triggerevent("ue_after_save");
  wf_finish_save();
  return 1;
}

std::string w_stmm_edit::wf_save_question() { return {}; }
std::string w_stmm_edit::wf_save_done() { return {}; }

bool w_stmm_edit::wf_confirm_save() {
  const std::string question = wf_save_question();
  if (question.empty()) return true;
  return messagebox(g().gs_tsxx, question, ui::Icon::Question, ui::Buttons::YesNo, 2) == 1;
}

void w_stmm_edit::wf_finish_save() {
  const std::string done = wf_save_done();
  if (done.empty()) return;
  messagebox(g().gs_tsxx, done, ui::Icon::Information);
  // Closed once the event that saved has ended, not under its feet.
  postevent("ue_close_saved");
}

long w_stmm_edit::ue_close_saved() {
  ui::Window* list = parent();
  ui::WindowManager* m = manager();
  ui::close(*this);
  if (!list || !list->is_open() || !m) return 1;
  m->activate(*list);
  if (auto* display = dynamic_cast<w_stmm_display*>(list)) display->dw_display.setfocus();
  return 1;
}

long w_stmm_edit::ue_valid_check() { return 1; }
long w_stmm_edit::ue_before_update() { return 1; }
long w_stmm_edit::ue_before_commit() { return 1; }

long w_stmm_edit::ue_after_save() {
  if (ui::Window* list = parent(); list && list->is_open()) list->triggerevent("ue_refresh");
  return 1;
}

long w_stmm_edit::ue_execute_cancel() {
  w_sheet::ue_execute_cancel();
  wf_retrieve_edit();
  return 1;
}

long w_stmm_edit::ue_click_itemchange_rownotmove() { return 1; }

long w_stmm_edit::dw_edit_clicked(long, long, long row, const std::string& dwo) {
  if (row < 1 || row != dw_edit->getrow() || dwo.empty()) return 0;
  uis_column_name = dwo;
  return triggerevent("ue_click_itemchange_rownotmove");
}

long w_stmm_edit::dw_edit_itemchanged(long, const std::string& dwo, const std::string&) {
  uis_column_name = dwo;
  postevent("ue_click_itemchange_rownotmove");
  return 0;
}

}  // namespace kq::fw
