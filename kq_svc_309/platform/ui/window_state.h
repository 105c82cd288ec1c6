#pragma once
// The visible state of windows as the workstation protocol's JSON
// (docs/protocol.md, "Window state"): each window with its menu and
// controls; a data window with its rows drawn by render_html — a grid only
// for the window of rows that the browser asked for (first_row, row_window).
#include <map>
#include <string>

#include <nlohmann/json.hpp>

namespace kq::ui {

class Window;
class WindowManager;

struct StateOptions {
  // Rows drawn of a grid whose control asks for no particular number.
  long row_window = 100;
};

// One window. Taking the state moves a grid's row window to its current row
// when that row moved out of it since the last state.
nlohmann::json window_state(Window& w, const StateOptions& options = {});

// Every open window: {"active": id or null, "windows": [...]}.
nlohmann::json windows_state(WindowManager& m, const StateOptions& options = {});

// The windows that changed since the last call: {"active": ..., "windows":
// [the changed or new ones], "closed": [ids of windows closed since]}.
class StateTracker {
 public:
  nlohmann::json changes(WindowManager& m, const StateOptions& options = {});
  // Forgets what was sent: the next changes() has every window.
  void reset() { sent_.clear(); }

 private:
  std::map<int, std::string> sent_;  // window id -> its state as sent
};

}  // namespace kq::ui
