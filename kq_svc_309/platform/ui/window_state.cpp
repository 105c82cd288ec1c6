#include "platform/ui/window_state.h"

#include <algorithm>

#include "platform/dw/datawindow/sort_text.h"
#include "platform/dw/render/html_render.h"
#include "platform/ui/window.h"
#include "platform/ui/window_manager.h"

namespace kq::ui {

namespace {

// Moves the grid's row window to the current row when that row moved out of it.
void follow_current_row(DataWindowControl& c, long window) {
  const dw::DataWindow& d = c.dw();
  const long rows = d.rowcount();
  const long current = d.getrow();
  if (current != c.shown_current_row && current > 0) {
    if (current < c.first_row) c.first_row = current;
    else if (current >= c.first_row + window) c.first_row = current - window + 1;
  }
  c.first_row = std::clamp(c.first_row, 1L, std::max(1L, rows - window + 1));
  c.shown_current_row = current;
}

// The keys of the sort in force that name a column, in order.
std::vector<SortColumn> sort_columns(const dw::DataWindow& d) {
  std::vector<SortColumn> out;
  for (const dw::SortKey& k : dw::lowered_sort_keys(d.sort_text()))
    if (const dw::ColumnDef* c = d.definition().find_column(k.expression)) out.push_back({c->name, k.descending});
  return out;
}

DataWindowState datawindow_state(DataWindowControl& c, const StateOptions& options) {
  DataWindowState out;
  dw::DataWindow& d = c.dw();
  out.dataobject = d.dataobject();
  if (!d.has_definition()) return out;
  out.has_definition = true;
  out.grid = d.definition().style == dw::Definition::Style::Grid;
  const long window = c.row_window > 0 ? c.row_window : options.row_window;
  if (out.grid) follow_current_row(c, window);
  out.style = dw::style_name(d.definition().style);
  out.rowcount = d.rowcount();
  out.currentrow = d.getrow();
  out.readonly = d.readonly();
  if (out.grid) {
    out.first_row = c.first_row;
    out.row_window = window;
    out.locked_columns = c.locked_columns;
    out.sort = sort_columns(d);
  }
  if (!c.visible) return out;  // a hidden data window is not drawn
  dw::HtmlOptions html;
  html.id = c.name();
  html.editable = c.enabled && !d.readonly();
  if (out.grid) {
    html.first_row = c.first_row;
    html.row_window = window;
  }
  out.html = dw::render_html(d, html);
  return out;
}

ControlState control_state(const Window& w, Control& c, const StateOptions& options) {
  ControlState out;
  out.name = c.name();
  out.kind = c.kind();
  out.text = c.text;
  out.mask = c.mask;
  if (c.takes_text()) {
    out.limit = c.limit;
    out.displayonly = c.displayonly;
  }
  out.checked = c.checked;
  out.visible = c.visible;
  out.enabled = c.enabled;
  if (c.dropdown_calendar) out.calendar = c.calendar_date;
  if (c.takes_text()) out.spin = c.spin;
  out.geometry = c.geometry;
  if (const ResizeRule* r = w.inv_resize.rule(c.name())) out.resize = *r;
  if (auto* d = dynamic_cast<DataWindowControl*>(&c)) out.datawindow = datawindow_state(*d, options);
  return out;
}

}  // namespace

WindowState window_state(Window& w, const StateOptions& options) {
  WindowState out;
  out.id = w.id();
  out.classname = w.classname();
  out.title = w.title;
  if (w.parent()) out.parent = w.parent()->id();
  out.menu = w.menu();
  out.focus = w.focus();
  for (const auto& c : w.controls()) out.controls.push_back(control_state(w, *c, options));
  return out;
}

WindowsState windows_state(WindowManager& m, const StateOptions& options) {
  WindowsState out;
  if (Window* a = m.active()) out.active = a->id();
  for (Window* w : m.windows()) out.windows.push_back(window_state(*w, options));
  return out;
}

}  // namespace kq::ui
