#include "framework/w_sheet.h"

#include <iostream>

#include "framework/f_delete_remind.h"
#include "framework/f_msg.h"
#include "framework/session.h"
#include "platform/db/read_scheduler.h"

namespace kq::fw {

w_sheet::w_sheet(std::string classname, std::string title)
    : ui::Window(std::move(classname), std::move(title)),
      dw_toolbar(add_control("dw_toolbar", ui::ControlKind::Toolbar)) {
  on("", "ue_cus", [this](const ui::Event& e) { return ue_cus(e.number); });
  // A deletion and its commit are urgent work, as a save is (w_stmm_edit).
  on("", "ue_do_delete", [this](const ui::Event&) {
    db::UrgentReads urgent;
    return ue_do_delete();
  });
  on("", "ue_before_delete", [this](const ui::Event&) { return ue_before_delete(); });
  on("", "ue_execute_delete", [this](const ui::Event&) { return ue_execute_delete(); });
  on("", "ue_after_delete", [this](const ui::Event&) { return ue_after_delete(); });
  on("", "ue_execute_update", [this](const ui::Event&) { return ue_execute_update(); });
  on("", "ue_execute_commit", [this](const ui::Event&) { return ue_execute_commit(); });
  on("", "ue_execute_cancel", [this](const ui::Event&) { return ue_execute_cancel(); });
}

long w_sheet::wf_menu_init() {
  if (!is_menu.empty()) changemenu(is_menu);
  std::vector<ui::MenuCommand> commands;
  for (const auto& [index, text] : is_menutext) {
    if (index < 1) continue;
    const auto at = static_cast<size_t>(index - 1);
    const bool enabled = at >= is_menu_enabled.size() || is_menu_enabled[at] != '0';
    commands.push_back({index, text, enabled});
  }
  menu().commands = std::move(commands);
  set_toolbar(std::move(toolbar_));
  return 1;
}

int w_sheet::msg(std::string_view title, std::string_view text) {
  messagebox(title, text, ui::Icon::Exclamation);
  return 1;
}

long w_sheet::open() {
  wf_menu_init();
  return 1;
}

long w_sheet::ue_cus(long ai_select) {
  (void)ai_select;
  return 1;
}

bool w_sheet::supports(const ui::ToolbarButton& button) const {
  if (button.event == "ue_do_insert") return ib_supports_insert;
  if (button.event == "ue_do_delete") return ib_supports_delete;
  return true;
}

void w_sheet::set_toolbar(std::vector<ui::ToolbarButton> buttons) {
  toolbar_ = std::move(buttons);
  std::vector<ui::ToolbarButton> offered;
  for (const auto& b : toolbar_)
    if (supports(b)) offered.push_back(b);
  menu().toolbar = std::move(offered);
}

long w_sheet::ue_do_delete() {
  if (!dw_d) return 0;
  dw::DataWindow& d = *dw_d;
  if (d.rowcount() == 0) {
    msg(g().gs_tsxx, "没有要删除的行！");
    return 0;
  }
  if (d.getrow() < 1) {
    msg(g().gs_tsxx, "请选择要删除的行！");
    return 0;
  }
  if (f_delete_remind("singletable", is_primarykey, d) == 2) return 0;
  d.accepttext();
  if (d.getrow() != 0 && triggerevent("ue_before_delete") == 0) return 0;
  if (triggerevent("ue_execute_delete") == 0) return 0;
  if (triggerevent("ue_after_delete") == 0) {
    triggerevent("ue_execute_cancel");
    return 0;
  }
  if (triggerevent("ue_execute_update") == 0) return 0;
  return triggerevent("ue_execute_commit") != 0 ? 1 : 0;
}

long w_sheet::ue_before_delete() { return 1; }

long w_sheet::ue_execute_delete() {
  if (!dw_d) return 0;
  return dw_d->dw().deleterow(0) == 1 ? 1 : 0;
}

long w_sheet::ue_after_delete() { return 1; }

long w_sheet::ue_execute_update() {
  if (!dw_d) return 0;
  if (dw_d->dw().update() == 1) return 1;
  std::cerr << "kq_svc_309: " << classname() << ": " << dw_d->dw().last_error() << '\n';
  msg(g().gs_tsxx, "数据保存失败！");
  triggerevent("ue_execute_cancel");
  return 0;
}

long w_sheet::ue_execute_commit() {
  db::Transaction& sqlca = session().sqlca;
  sqlca.commit();
  if (sqlca.sqlcode != -1) return 1;
  std::cerr << "kq_svc_309: " << classname() << ": commit: " << sqlca.sqlerrtext << '\n';
  msg(g().gs_tsxx, "数据提交失败！");
  triggerevent("ue_execute_cancel");
  return 0;
}

long w_sheet::ue_execute_cancel() {
  session().sqlca.rollback();
  return 1;
}

}  // namespace kq::fw
