#pragma once
// The list data window of work windows (dw_1 of w_large): a data window
// control that keeps the filter and sort in force and sorts by clicked
// column headings.
//
// Sort texts are "column A|D" keys joined by " ," ("djsrq D ,cwtsbh A").
#include <string>
#include <string_view>

#include "platform/ui/datawindow_control.h"

namespace kq::fw {

class uo_dw_d : public ui::DataWindowControl {
 public:
  explicit uo_dw_d(std::string name);

  std::string ois_outfilter;  // the filter in force (re-applied after a refresh)
  std::string ois_sort;       // the sort in force

  // Sorts by the column of heading `header` ("cwtsbh_t", or the column's
  // own name) alone: ascending, or descending when the list was sorted by
  // that column alone ascending. 1, or -1 when no such column.
  long of_sort_single(std::string_view header);
  // Adds the column of `header` as the last sort key (ascending), or turns
  // its direction when it is a key already. 1, or -1 when no such column.
  long of_sort_many(std::string_view header);
  // Drawing on again, with the current row selected and in view. 1.
  long of_redraw();
  // Keys of the list: up (38), down (40), page up (33), page down (34),
  // home (36) and end (35) move the current row (firing the window's
  // rowfocuschanged of this control). 1 when the row moved, 0 otherwise.
  long ue_keydown(int key, int keyflags);

  // Rows a page key moves.
  long page_rows = 20;

 private:
  // The column of a heading name; "" when the data window has none.
  std::string column_of(std::string_view header) const;
  long apply_sort(std::string text);
};

}  // namespace kq::fw
