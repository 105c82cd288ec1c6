#pragma once
// The host application's list window: a read-only list dw_display from which
// records are added, changed (both in the edit window is_editwindowname) and
// deleted.
//
// Opening: the window's ue_before_open sets the retrieval and edit settings
// below (after the ancestor's, which binds dw_display to sqlca); the
// ancestor's open then retrieves dw_display with the first n values of
// ia_retrievecolumnvalue, n being the number of names in
// is_retrievecolumnstring (none when it is ""), and highlights the current
// row. The list is read-only, its columns cannot be moved and the mouse does
// not select rows: the one selected (highlighted) row is always the current
// row, wherever a click or a key moves it (rowfocuschanged of dw_display).
//
// Tool bar: 增加 (ue_do_insert), 修改 (ue_do_change), 删除 (ue_do_delete),
// 刷新 (ue_refresh), 关闭 (close); 增加 and 删除 only when the window
// supports them (ib_supports_insert, ib_supports_delete).
#include <string>
#include <string_view>
#include <vector>

#include "framework/w_sheet.h"
#include "platform/value/value.h"

namespace kq::fw {

class w_stmm_display : public w_sheet {
 public:
  w_stmm_display(std::string classname, std::string title);

  ui::DataWindowControl& dw_display;

  std::string is_retrievecolumnstring;         // "djsrq,djsrq": one name per retrieval argument
  std::vector<Value> ia_retrievecolumnvalue;   // the retrieval arguments' values
  std::string is_editwindowname;               // class of the edit window
  // Column hints of the edit window (first and last column to edit when
  // adding or changing; the columns that offer a selection list).
  std::string is_first_colname_add, is_last_colname_add;
  std::string is_first_colname_change, is_last_colname_change;
  std::vector<std::string> is_double_columnname;

  long ue_before_open() override;
  long open() override;
  // A click on a heading of one of the window's grids sorts it by that
  // column (sort_by_heading).
  void heading_clicked(ui::DataWindowControl& control, const std::string& column) override;

  // Retrieves dw_display as described above and highlights its current row:
  // the number of rows, or -1 after a message when the retrieval failed.
  virtual long wf_retrieve();
  // The retrieval arguments that wf_retrieve passes.
  std::vector<Value> retrieval_arguments() const;
  // Opens is_editwindowname with this window as parent: mode "add" for a
  // new record, "edit" for the current row of dw_display (nothing without
  // one). The edit window receives a us_edit_row. An edit window of that
  // class that is open already is closed first, so that it shows the row
  // chosen now. 1 when it opened, 0 otherwise.
  virtual long wf_openeditwindow(std::string_view mode);

  // Commands.
  virtual long ue_do_insert();  // wf_openeditwindow("add")
  virtual long ue_do_change();  // wf_openeditwindow("edit")
  virtual long ue_refresh();    // wf_retrieve: 1
  // Brings the list forward: the focus goes to dw_display, its current row
  // highlighted. 1.
  virtual long ue_showthis();
  // A failed delete: sqlca rolled back and the list retrieved again (the
  // deleted row comes back). 1.
  long ue_execute_cancel() override;

  // doubleclicked of dw_display. The ancestor's: a date column of an
  // editable list drops its calendar (the workstation's); nothing else. 0.
  virtual long dw_display_doubleclicked(long xpos, long ypos, long row, const std::string& dwo);

 private:
  void list_settings();
};

}  // namespace kq::fw
