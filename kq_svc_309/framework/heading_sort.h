#pragma once
// Sorting a list by its column headings: a click on the heading of a column
// of a grid in a list window (w_stmm_display, w_large) sorts the grid by that
// column alone, ascending, and a second click on the same heading descending
// (then ascending again). The data window sorts (setsort, sort); its current
// row stays on the same record.
#include <string_view>

#include "platform/ui/datawindow_control.h"

namespace kq::fw {

// Sorts the grid `control` for a click on the heading of `column` (the
// column's name, or its heading's "<column>_t" for the list of work windows,
// which keeps its sort itself: uo_dw_d::of_sort_single). 1, or -1 with
// nothing changed when `control` is no grid or has no such column.
long sort_by_heading(ui::DataWindowControl& control, std::string_view column);

}  // namespace kq::fw
