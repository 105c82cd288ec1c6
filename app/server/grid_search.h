#pragma once
// The search box over a list at the workstation: the event
//   {"window": 3, "control": "dw_display", "event": "search", "text": "京A"}
// narrows the rows of a grid data window to those whose shown texts contain
// the text (dw::DataWindow::setsearch; "" shows every row again), leaving the
// window's own filter as it set it. The current row is then a row still
// shown and is the highlighted one (selected alone, in view). Each grid's
// state carries "search" (the text in force) and "searchtotal" (the rows
// before the search narrowed them), so that the browser shows "n / m".
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "server/api_error.h"

namespace kq::ui {
class DataWindowControl;
class Window;
class WindowManager;
}  // namespace kq::ui

namespace kq::server {

// Whether `event` is a search event (its "event" is "search").
bool is_search_event(const nlohmann::json& event);

// Runs a search event on the windows of `manager`: 404 for a window or
// control that is not open, 400 for a malformed event or a control that is
// not a grid data window shown and enabled.
std::optional<ApiError> run_search(ui::WindowManager& manager, const nlohmann::json& event);

// Adds "search" and "searchtotal" to the grid controls of `window_state`
// (a window's state as windows_state gives it).
void add_search_states(ui::Window& window, nlohmann::json& window_state);

}  // namespace kq::server
