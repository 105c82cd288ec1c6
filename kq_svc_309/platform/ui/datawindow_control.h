#pragma once
// A data window control: a Control holding a dw::DataWindow. Window code
// uses it like the data window itself:
//
//   dw_display->settransobject(sqlca);
//   dw_display->retrieve(is_jsrq, is_qsrq);
//   f_select_current_row(dw_display);          // converts to dw::DataWindow&
//
// It also keeps what the browser shows of a grid: the first row of the
// window of rows it asked for, and the number of rows in that window.
#include <string>

#include "platform/dw/datawindow/datawindow.h"
#include "platform/ui/control.h"

namespace kq::ui {

class DataWindowControl : public Control {
 public:
  explicit DataWindowControl(std::string name);

  dw::DataWindow& dw() { return dw_; }
  const dw::DataWindow& dw() const { return dw_; }
  dw::DataWindow* operator->() { return &dw_; }
  const dw::DataWindow* operator->() const { return &dw_; }
  operator dw::DataWindow&() { return dw_; }              // NOLINT(google-explicit-constructor)
  operator const dw::DataWindow&() const { return dw_; }  // NOLINT(google-explicit-constructor)

  // Grids: the rows the browser shows, [first_row, first_row + row_window);
  // row_window 0 takes the default of the state serialiser. When the current
  // row moves outside that window between two states, the window follows it.
  long first_row = 1;
  long row_window = 0;
  // Columns kept in view while the grid scrolls sideways (0 = none).
  int locked_columns = 0;
  // The current row when the state was last taken (for following it).
  long shown_current_row = 0;

 private:
  dw::DataWindow dw_;
};

}  // namespace kq::ui
