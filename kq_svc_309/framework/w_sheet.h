#pragma once
// What the host application's ancestor windows (w_large, w_stmm_display,
// w_stmm_edit) have in common: the tool bar strip, the data window the
// commands act on (dw_d), the custom commands of the menu (is_menutext,
// each firing ue_cus with its index), the message function msg, and the
// delete command with its chain of events.
//
// Delete command (ue_do_delete), each step stopping with 0:
//   no rows: msg "没有要删除的行！"; no current row: msg "请选择要删除的行！";
//   f_delete_remind declined; ue_before_delete 0; ue_execute_delete 0;
//   ue_after_delete 0 (then ue_execute_cancel); ue_execute_update 0;
//   ue_execute_commit 0. 1 when committed.
// Every statement of the chain runs on sqlca; a failure after the first
// write rolls sqlca back (ue_execute_cancel).
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/window.h"

namespace kq::fw {

class w_sheet : public ui::Window {
 public:
  w_sheet(std::string classname, std::string title);

  ui::Control& dw_toolbar;
  ui::DataWindowControl* dw_d = nullptr;  // the data window the commands act on

  std::map<int, std::string> is_menutext;  // texts of the custom commands, from 1
  std::string is_menu_enabled;             // per command from 1: '0' disabled; absent = enabled
  std::string is_menu;                     // menu taken by the next wf_menu_init ("" = keep)
  std::string is_primarykey;               // key columns of dw_d's rows, "cwtsbh,cwxxmdm"

  // Whether the window adds and deletes records. The tool bar offers 增加
  // (ue_do_insert) and 删除 (ue_do_delete) only when it does, and the
  // workstation accepts only the commands the tool bar offers. A window that
  // adds or deletes nothing clears these in its constructor.
  bool ib_supports_insert = true;
  bool ib_supports_delete = true;

  // Rebuilds the menu's commands from is_menutext and is_menu_enabled, takes
  // the menu is_menu names, and offers on the tool bar the commands the
  // window supports. 1.
  virtual long wf_menu_init();
  // A message box titled `title` with an OK button. 1.
  int msg(std::string_view title, std::string_view text);

  // open: the menu is built (wf_menu_init).
  long open() override;
  // A custom command of the menu. The ancestor does nothing: 1.
  virtual long ue_cus(long ai_select);

  // --- Delete ----------------------------------------------------------------
  virtual long ue_do_delete();
  // Before the row leaves the data window. 1.
  virtual long ue_before_delete();
  // Deletes the current row of dw_d: 1, or 0 when it cannot.
  virtual long ue_execute_delete();
  // After the row left the data window, before the update: 1 to save the
  // delete, 0 to cancel it.
  virtual long ue_after_delete();
  // Updates dw_d on sqlca: 1, or 0 after a message and ue_execute_cancel.
  virtual long ue_execute_update();
  // Commits sqlca: 1, or 0 after a message and ue_execute_cancel.
  virtual long ue_execute_commit();
  // Rolls sqlca back. 1.
  virtual long ue_execute_cancel();

 protected:
  // The tool bar's buttons, of which the window offers those it supports.
  void set_toolbar(std::vector<ui::ToolbarButton> buttons);

 private:
  bool supports(const ui::ToolbarButton& button) const;
  std::vector<ui::ToolbarButton> toolbar_;  // as set, before leaving out what is not supported
};

}  // namespace kq::fw
