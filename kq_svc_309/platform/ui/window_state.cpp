#include "platform/ui/window_state.h"

#include <algorithm>

#include "platform/dw/render/html_render.h"
#include "platform/ui/window.h"
#include "platform/ui/window_manager.h"

namespace kq::ui {

using nlohmann::json;

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

void datawindow_state(DataWindowControl& c, const StateOptions& options, json& out) {
  dw::DataWindow& d = c.dw();
  out["dataobject"] = d.dataobject();
  if (!d.has_definition()) return;
  const bool grid = d.definition().style == dw::Definition::Style::Grid;
  const long window = c.row_window > 0 ? c.row_window : options.row_window;
  if (grid) follow_current_row(c, window);
  out["style"] = dw::style_name(d.definition().style);
  out["rowcount"] = d.rowcount();
  out["currentrow"] = d.getrow();
  out["readonly"] = d.readonly();
  if (grid) {
    out["first_row"] = c.first_row;
    out["row_window"] = window;
    if (c.locked_columns > 0) out["locked_columns"] = c.locked_columns;
  }
  if (!c.visible) return;  // a hidden data window is not drawn
  dw::HtmlOptions html;
  html.id = c.name();
  html.editable = c.enabled && !d.readonly();
  if (grid) {
    html.first_row = c.first_row;
    html.row_window = window;
  }
  out["html"] = dw::render_html(d, html);
}

json control_state(const Window& w, Control& c, const StateOptions& options) {
  json out;
  out["name"] = c.name();
  out["kind"] = kind_name(c.kind());
  if (c.kind() != ControlKind::DataWindow && c.kind() != ControlKind::Toolbar) out["text"] = c.text;
  if (c.kind() == ControlKind::EditMask) out["mask"] = c.mask;
  if (c.takes_text()) {
    if (c.limit > 0) out["limit"] = c.limit;
    if (c.displayonly) out["readonly"] = true;
  }
  if (c.checkable()) out["checked"] = c.checked;
  out["visible"] = c.visible;
  out["enabled"] = c.enabled;
  if (c.dropdown_calendar) out["calendar"] = c.calendar_date;
  if (c.geometry) {
    const Geometry& g = *c.geometry;
    out["geometry"] = {{"x", g.x}, {"y", g.y}, {"width", g.width}, {"height", g.height}};
  }
  if (const ResizeRule* r = w.inv_resize.rule(c.name()))
    out["resize"] = {{"x", r->x}, {"y", r->y}, {"width", r->width}, {"height", r->height}};
  if (auto* d = dynamic_cast<DataWindowControl*>(&c)) datawindow_state(*d, options, out);
  return out;
}

json menu_state(const Menu& m) {
  json commands = json::array();
  for (const auto& c : m.commands) commands.push_back({{"index", c.index}, {"text", c.text}, {"enabled", c.enabled}});
  json toolbar = json::array();
  for (const auto& b : m.toolbar) {
    json button = {{"event", b.event}, {"text", b.text}, {"enabled", b.enabled}};
    if (b.number != 0) button["number"] = b.number;
    toolbar.push_back(std::move(button));
  }
  return {{"name", m.name}, {"commands", std::move(commands)}, {"toolbar", std::move(toolbar)}};
}

json active_id(const WindowManager& m) {
  Window* a = m.active();
  return a ? json(a->id()) : json(nullptr);
}

}  // namespace

json window_state(Window& w, const StateOptions& options) {
  json out;
  out["id"] = w.id();
  out["class"] = w.classname();
  out["title"] = w.title;
  out["parent"] = w.parent() ? json(w.parent()->id()) : json(nullptr);
  out["menu"] = menu_state(w.menu());
  out["focus"] = w.focus();
  json controls = json::array();
  for (const auto& c : w.controls()) controls.push_back(control_state(w, *c, options));
  out["controls"] = std::move(controls);
  return out;
}

json windows_state(WindowManager& m, const StateOptions& options) {
  json windows = json::array();
  for (Window* w : m.windows()) windows.push_back(window_state(*w, options));
  return {{"active", active_id(m)}, {"windows", std::move(windows)}};
}

json StateTracker::changes(WindowManager& m, const StateOptions& options) {
  json windows = json::array();
  std::map<int, std::string> now;
  for (Window* w : m.windows()) {
    json state = window_state(*w, options);
    std::string text = state.dump(-1, ' ', false, json::error_handler_t::replace);
    auto it = sent_.find(w->id());
    if (it == sent_.end() || it->second != text) windows.push_back(std::move(state));
    now.emplace(w->id(), std::move(text));
  }
  json closed = json::array();
  for (const auto& [id, text] : sent_)
    if (now.find(id) == now.end()) closed.push_back(id);
  sent_ = std::move(now);
  return {{"active", active_id(m)}, {"windows", std::move(windows)}, {"closed", std::move(closed)}};
}

}  // namespace kq::ui
