#pragma once
// The host application's edit window: one record in dw_edit, opened by a
// list window (w_stmm_display::wf_openeditwindow) with a us_edit_row.
//
// Opening: ue_before_open binds dw_edit to sqlca and makes it dw_u (the data
// window saved) and dw_d; the window's own ue_before_open may set another
// dataobject after it. open then fills dw_edit: a new row for "add"
// (ue_do_insert), the chosen row for "edit" (wf_retrieve_edit).
//
// Save, the custom command 1 (ue_cus(1) → ue_save): the pending edit of dw_u
// is accepted, then ue_valid_check, ue_before_update, the update of dw_u,
// ue_before_commit and the commit of sqlca run in this order; a 0 from any
// of them (or a failed update or commit, shown as a message) stops the save
// and rolls sqlca back, and dw_u keeps its changes to be saved again. After
// the commit ue_after_save runs.
//
// An irreversible save says what it will do and what it did: a window whose
// wf_save_question gives a text asks it (是/否, 否 the default) after
// validation and before anything is written, and 否 stops the save with
// nothing changed; a window whose wf_save_done gives a text tells it after
// the commit, then closes, and its list comes to the front with the focus.
// The ancestor gives neither.
//
// Tool bar: 保存 (ue_cus 1), 删除 (ue_do_delete, when ib_supports_delete),
// 关闭 (close).
#include <string>
#include <vector>

#include "framework/us_edit_row.h"
#include "framework/w_sheet.h"

namespace kq::fw {

class w_stmm_edit : public w_sheet {
 public:
  w_stmm_edit(std::string classname, std::string title);

  ui::DataWindowControl& dw_edit;
  ui::DataWindowControl* dw_u = nullptr;   // the data window saved
  std::string uis_column_name;             // column of ue_click_itemchange_rownotmove
  ui::DataWindowControl* idw_width = nullptr;  // column width settings: the data window
  std::string is_width;                        // and its columns

  // The row the list handed over; null when opened without one.
  const us_edit_row* edit_row() const { return parameter().object_as<us_edit_row>(); }

  long ue_before_open() override;
  long open() override;

  // Fills dw_edit with the list's chosen row: retrieved with the list's
  // retrieval arguments (as many as dw_edit's definition takes) and kept to
  // the row of the chosen key; when that gives no single row (the list holds
  // rows the definition does not retrieve, or takes arguments the list does
  // not have), the list's row is copied into dw_edit as a retrieved,
  // unmodified row. 1, or 0 without a chosen row.
  virtual long wf_retrieve_edit();

  // A new record: a row inserted at the end and made current, then
  // ue_after_insert. 1, or 0 when it cannot be inserted.
  virtual long ue_do_insert();
  virtual long ue_after_insert();

  // Custom command 1 is the save.
  long ue_cus(long ai_select) override;
  virtual long ue_save();
  virtual long ue_valid_check();
  virtual long ue_before_update();
  virtual long ue_before_commit();
  // After a committed save: the parent window's list is refreshed (its
  // ue_refresh). 1.
  virtual long ue_after_save();
  // The question asked before an irreversible save, naming what it will
  // change; empty: none (the ancestor's).
  virtual std::string wf_save_question();
  // What is told after the save was committed; empty: nothing, and the window
  // stays open (the ancestor's).
  virtual std::string wf_save_done();
  // Asks wf_save_question: true to go on (no question, or 是).
  bool wf_confirm_save();
  // After a committed save: tells wf_save_done and has the window close
  // after the event, its list in front with the focus. Nothing without a text.
  void wf_finish_save();

  // A failed delete: sqlca rolled back and dw_edit filled again. 1.
  long ue_execute_cancel() override;

  // A click into, or a change of, a column of the current row of dw_edit
  // (uis_column_name holds the column). The ancestor's: 1.
  virtual long ue_click_itemchange_rownotmove();
  // Events of dw_edit. The ancestor's clicked (on the current row) and
  // itemchanged set uis_column_name and run ue_click_itemchange_rownotmove
  // (after the new value is stored, for itemchanged); itemchanged accepts
  // the value (0).
  virtual long dw_edit_clicked(long xpos, long ypos, long row, const std::string& dwo);
  virtual long dw_edit_itemchanged(long row, const std::string& dwo, const std::string& data);

 private:
  // Posted by wf_finish_save: closes the window; its list in front, focused.
  long ue_close_saved();
  // Keeps dw_edit to the rows of the chosen key; false when a key value
  // cannot be expressed in a filter.
  bool filter_to_key(const us_edit_row& r);
  void copy_row(const us_edit_row& r);
};

}  // namespace kq::fw
