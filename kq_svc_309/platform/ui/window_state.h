#pragma once
// The visible state of windows, as the workstation draws them: each window
// with its menu and controls; a data window with its rows drawn by
// render_html — a grid only for the window of rows that the browser asked
// for (first_row, row_window). The server turns it into its protocol.
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/menu.h"
#include "platform/ui/resize_service.h"

namespace kq::ui {

class Window;
class WindowManager;

struct StateOptions {
  // Rows drawn of a grid whose control asks for no particular number.
  long row_window = 100;
};

// A key of the sort in force that names a column.
struct SortColumn {
  std::string column;
  bool descending = false;
  friend bool operator==(const SortColumn&, const SortColumn&) = default;
};

struct DataWindowState {
  std::string dataobject;  // "" when none is set; nothing below is filled then
  bool has_definition = false;
  std::string style;       // "grid", "form", "report"
  long rowcount = 0;
  long currentrow = 0;
  bool readonly = false;
  bool grid = false;       // grids only: first_row, row_window, locked_columns, sort
  long first_row = 1;
  long row_window = 0;
  int locked_columns = 0;
  std::vector<SortColumn> sort;
  std::optional<std::string> html;  // none while the control is hidden
};

struct ControlState {
  std::string name;
  ControlKind kind = ControlKind::StaticText;
  std::string text;
  std::string mask;
  int limit = 0;             // edits: the most characters typed text may hold (0: no limit)
  bool displayonly = false;  // edits: shown but not typed into
  bool checked = false;  // check boxes and radio buttons (Control::checkable)
  bool visible = true;
  bool enabled = true;
  std::optional<std::string> calendar;  // the date a dropped-down calendar starts at
  std::optional<SpinRange> spin;        // spin edits: the numbers it steps through
  std::optional<Geometry> geometry;
  std::optional<ResizeRule> resize;
  std::optional<DataWindowState> datawindow;  // data window controls
};

struct WindowState {
  int id = 0;
  std::string classname;
  std::string title;
  std::optional<int> parent;
  Menu menu;
  std::string focus;
  std::vector<ControlState> controls;
};

struct WindowsState {
  std::optional<int> active;
  std::vector<WindowState> windows;
};

// One window. Taking the state moves a grid's row window to its current row
// when that row moved out of it since the last state.
WindowState window_state(Window& w, const StateOptions& options = {});

// Every open window, and the active one.
WindowsState windows_state(WindowManager& m, const StateOptions& options = {});

}  // namespace kq::ui
