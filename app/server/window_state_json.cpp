#include "server/window_state_json.h"

namespace kq::server {

using nlohmann::json;

namespace {

void add_datawindow(const ui::DataWindowState& d, json& out) {
  out["dataobject"] = d.dataobject;
  if (!d.has_definition) return;
  out["style"] = d.style;
  out["rowcount"] = d.rowcount;
  out["currentrow"] = d.currentrow;
  out["readonly"] = d.readonly;
  if (d.grid) {
    out["first_row"] = d.first_row;
    out["row_window"] = d.row_window;
    if (d.locked_columns > 0) out["locked_columns"] = d.locked_columns;
    json sort = json::array();
    for (const ui::SortColumn& k : d.sort) sort.push_back(json{{"column", k.column}, {"descending", k.descending}});
    out["sort"] = std::move(sort);
  }
  if (d.html) out["html"] = *d.html;
}

json control_json(const ui::ControlState& c) {
  json out;
  out["name"] = c.name;
  out["kind"] = kind_name(c.kind);
  if (c.kind != ui::ControlKind::DataWindow && c.kind != ui::ControlKind::Toolbar) out["text"] = c.text;
  if (c.kind == ui::ControlKind::EditMask) out["mask"] = c.mask;
  if (c.limit > 0) out["limit"] = c.limit;
  if (c.displayonly) out["readonly"] = true;
  if (c.kind == ui::ControlKind::CheckBox || c.kind == ui::ControlKind::RadioButton) out["checked"] = c.checked;
  out["visible"] = c.visible;
  out["enabled"] = c.enabled;
  if (c.calendar) out["calendar"] = *c.calendar;
  if (c.spin) out["spin"] = {{"min", c.spin->min}, {"max", c.spin->max}, {"increment", c.spin->increment}};
  if (c.geometry) {
    const ui::Geometry& g = *c.geometry;
    out["geometry"] = {{"x", g.x}, {"y", g.y}, {"width", g.width}, {"height", g.height}};
  }
  if (c.resize) {
    const ui::ResizeRule& r = *c.resize;
    out["resize"] = {{"x", r.x}, {"y", r.y}, {"width", r.width}, {"height", r.height}};
  }
  if (c.datawindow) add_datawindow(*c.datawindow, out);
  return out;
}

json menu_json(const ui::Menu& m) {
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

}  // namespace

const char* kind_name(ui::ControlKind kind) {
  switch (kind) {
    case ui::ControlKind::StaticText: return "statictext";
    case ui::ControlKind::CommandButton: return "commandbutton";
    case ui::ControlKind::PictureButton: return "picturebutton";
    case ui::ControlKind::CheckBox: return "checkbox";
    case ui::ControlKind::RadioButton: return "radiobutton";
    case ui::ControlKind::GroupBox: return "groupbox";
    case ui::ControlKind::EditMask: return "editmask";
    case ui::ControlKind::SingleLineEdit: return "singlelineedit";
    case ui::ControlKind::MultiLineEdit: return "multilineedit";
    case ui::ControlKind::DataWindow: return "datawindow";
    case ui::ControlKind::Toolbar: return "toolbar";
  }
  return "statictext";
}

json window_json(const ui::WindowState& w) {
  json out;
  out["id"] = w.id;
  out["class"] = w.classname;
  out["title"] = w.title;
  out["parent"] = w.parent ? json(*w.parent) : json(nullptr);
  out["menu"] = menu_json(w.menu);
  out["focus"] = w.focus;
  json controls = json::array();
  for (const auto& c : w.controls) controls.push_back(control_json(c));
  out["controls"] = std::move(controls);
  return out;
}

json windows_json(const ui::WindowsState& all) {
  json windows = json::array();
  for (const auto& w : all.windows) windows.push_back(window_json(w));
  return {{"active", all.active ? json(*all.active) : json(nullptr)}, {"windows", std::move(windows)}};
}

}  // namespace kq::server
