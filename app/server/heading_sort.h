#pragma once
// Sorting a list by its column headings at the workstation: a click on the
// heading of a column of a grid in a list window (w_stmm_display, w_large)
// sorts the grid by that column alone, ascending, and a second click on the
// same heading descending (then ascending again). The data window sorts
// (setsort, sort); its current row stays on the same record. The browser
// shows the order in force on the headings (the grid state's "sort").
#include <nlohmann/json.hpp>
#include <string>

namespace kq::ui {
class DataWindowControl;
class Window;
}  // namespace kq::ui

namespace kq::server {

// Whether a heading click in `control` of `window` sorts: a grid data window
// of a list window.
bool sorts_by_heading(const ui::Window& window, const ui::DataWindowControl& control);

// Sorts `control` for a click on the heading of `column` (a column name as
// the grid's heading carries it). False, and nothing changed, when the data
// window has no such column.
bool sort_by_heading(ui::DataWindowControl& control, const std::string& column);

// The sort keys of `control` that name a column, in order:
// [{"column": "nhjje", "descending": false}]; [] when it is not sorted (or
// sorted by expressions only).
nlohmann::json heading_sort_state(const ui::DataWindowControl& control);

}  // namespace kq::server
