#include "platform/ui/event_dispatch.h"

#include <optional>
#include <set>
#include <string>

#include "platform/ui/text_limit.h"
#include "platform/ui/window.h"
#include "platform/ui/window_manager.h"
#include "platform/value/text.h"

namespace kq::ui {

using nlohmann::json;

namespace {

// Control events the workstation sends.
const std::set<std::string, std::less<>> kControlEvents = {
    "clicked",   "doubleclicked",   "rbuttondown",     "modified", "ue_key", "ue_keydown",
    "getfocus",  "ue_after_double", "rowfocuschanged", "itemchanged", "scroll",
};

json refuse(std::string why) { return {{"ok", false}, {"error", std::move(why)}}; }
json done(long result) { return {{"ok", true}, {"result", result}}; }

// A whole number field of the event (0 when absent); false when present but not a whole number.
bool number_field(const json& event, const char* name, long& out) {
  out = 0;
  auto it = event.find(name);
  if (it == event.end() || it->is_null()) return true;
  if (!it->is_number_integer()) return false;
  out = it->get<long>();
  return true;
}

bool string_field(const json& event, const char* name, std::string& out, bool& present) {
  out.clear();
  present = false;
  auto it = event.find(name);
  if (it == event.end() || it->is_null()) return true;
  if (!it->is_string()) return false;
  out = it->get<std::string>();
  present = true;
  return true;
}

// The Column object showing `column`; null when none does.
const dw::ObjectDef* column_object(const dw::DataWindow& d, const std::string& column) {
  for (const dw::ObjectDef* o : d.definition().objects())
    if (o->kind == dw::ObjectDef::Kind::Column && text::iequals(o->column, column)) return o;
  return nullptr;
}

// The refusal of `typed` for a string column of declared length, named by
// its heading ("<column>_t"); none when it fits.
std::optional<std::string> column_too_long(const dw::DataWindow& d, const dw::ObjectDef& object,
                                           const std::string& typed) {
  const dw::ColumnDef* def = d.definition().find_column(object.column);
  if (!def || def->type != Type::String) return std::nullopt;
  std::string label;
  if (const dw::ObjectDef* heading = d.definition().find_object(object.column + "_t"))
    label = text::trim(heading->text);
  while (!label.empty() && (label.back() == ':' || text::right(label, 1) == "：")) label = text::left(label, text::len(label) - 1);
  return text_too_long(label, def->length, typed);
}

json open_window(WindowManager& m, const json& event, const DispatchOptions& options) {
  std::string classname;
  bool present = false;
  if (!string_field(event, "class", classname, present) || !present) return refuse("open: \"class\" is missing");
  if (!options.may_open || !options.may_open(classname)) return refuse("window class " + classname + " cannot be opened");
  Window* w = m.open(classname);
  if (!w) return refuse(m.last_error());
  json out = done(1);
  out["window"] = w->id();
  return out;
}

json window_event(WindowManager& m, Window& w, const std::string& name, const Event& e) {
  if (name == "close") {
    m.close(w);
    return done(1);
  }
  if (name == "ue_cus") {
    if (const MenuCommand* c = w.menu().command(static_cast<int>(e.number))) {
      if (!c->enabled) return refuse("command " + std::to_string(e.number) + " of " + w.classname() + " is disabled");
      return done(w.triggerevent(name, e));
    }
  }
  for (const auto& b : w.menu().toolbar) {
    if (b.event != name || (name == "ue_cus" && b.number != e.number)) continue;
    if (!b.enabled) return refuse(name + " of " + w.classname() + " is disabled");
    return done(w.triggerevent(name, e));
  }
  return refuse(name + " is not a command of " + w.classname());
}

json datawindow_event(Window& w, DataWindowControl& c, const std::string& name, const json& event, Event& e,
                      bool has_data) {
  dw::DataWindow& d = c.dw();
  if (name == "scroll") {
    if (e.row < 1) return refuse("scroll: \"row\" must be 1 or more");
    c.first_row = e.row;
    long window = 0;
    if (!number_field(event, "row_window", window) || window < 0) return refuse("scroll: bad \"row_window\"");
    if (window > 0) c.row_window = window;
    c.shown_current_row = d.getrow();
    return done(1);
  }
  if (e.row < 0 || e.row > d.rowcount()) return refuse(c.name() + " has no row " + std::to_string(e.row));
  if ((has_data || name == "itemchanged") && !d.has_definition()) return refuse(c.name() + " has no data");
  if (name == "itemchanged" && !has_data) return refuse("itemchanged: \"data\" is missing");
  const dw::ObjectDef* column = nullptr;
  if (has_data) {
    if (e.row < 1) return refuse("typed data needs a row of " + c.name());
    column = column_object(d, e.column);
    if (!column) return refuse(c.name() + " shows no column " + e.column);
    if (d.is_protected(*column, e.row)) return refuse(e.column + " of " + c.name() + " cannot be changed");
    if (auto too_long = column_too_long(d, *column, e.data)) return refuse(*too_long);
  }
  if (e.row >= 1 && e.row != d.getrow()) {
    d.setrow(e.row);
    if (name != "rowfocuschanged" && w.has_event(c.name(), "rowfocuschanged")) {
      Event moved;
      moved.row = e.row;
      w.triggerevent(c.name(), "rowfocuschanged", moved);
    }
  }
  if (has_data) {
    d.set_pending_edit(e.row, column->column, e.data);
    int accepted = d.accepttext();  // runs the itemchanged event
    if (name == "itemchanged") return done(accepted);
  }
  return done(w.triggerevent(c.name(), name, e));
}

}  // namespace

json dispatch_event(WindowManager& m, const json& event, const DispatchOptions& options) {
  if (!event.is_object()) return refuse("an event is a JSON object");
  WindowManager::Scope scope(m);

  long window_id = 0;
  std::string name, control, typed, data;
  bool has_event = false, has_control = false, has_text = false, has_data = false;
  Event e;
  long key = 0, keyflags = 0;
  if (!number_field(event, "window", window_id)) return refuse("\"window\" must be a whole number");
  if (!string_field(event, "event", name, has_event) || !has_event) return refuse("\"event\" is missing");
  if (!string_field(event, "control", control, has_control)) return refuse("\"control\" must be text");
  if (!string_field(event, "text", typed, has_text)) return refuse("\"text\" must be text");
  if (auto it = event.find("data"); it != event.end() && !it->is_null()) {
    if (it->is_string()) data = it->get<std::string>();
    else if (it->is_number_integer()) data = std::to_string(it->get<long long>());
    else if (it->is_number()) data = it->dump();
    else return refuse("\"data\" must be text or a number");
    has_data = true;
  }
  bool has_column = false;
  if (!string_field(event, "column", e.column, has_column)) return refuse("\"column\" must be text");
  if (!number_field(event, "row", e.row) || !number_field(event, "number", e.number) ||
      !number_field(event, "key", key) || !number_field(event, "keyflags", keyflags) ||
      !number_field(event, "xpos", e.xpos) || !number_field(event, "ypos", e.ypos))
    return refuse("row, number, key, keyflags, xpos and ypos are whole numbers");
  e.key = static_cast<int>(key);
  e.keyflags = static_cast<int>(keyflags);
  e.data = data;
  name = text::lower(name);

  if (window_id == 0) {
    if (name == "open") return open_window(m, event, options);
    return refuse("the session has no event " + name);
  }
  Window* w = m.find(static_cast<int>(window_id));
  if (!w) return refuse("no open window " + std::to_string(window_id));
  if (control.empty()) {
    if (has_text || has_data) return refuse("a window event carries no typed text");
    return window_event(m, *w, name, e);
  }

  Control* c = w->control(control);
  if (!c) return refuse(w->classname() + " has no control " + control);
  if (!c->visible) return refuse(c->name() + " is hidden");
  if (!c->enabled) return refuse(c->name() + " is disabled");
  if (kControlEvents.find(name) == kControlEvents.end()) return refuse(name + " is not an event the workstation sends");

  auto checked = event.find("checked");
  const bool has_checked = checked != event.end() && !checked->is_null();
  if (has_checked && (!checked->is_boolean() || !c->checkable())) return refuse(c->name() + " cannot be checked");
  if (has_text && !c->takes_text()) return refuse(c->name() + " takes no typed text");
  if (has_text && c->displayonly && typed != c->text) return refuse(c->name() + " is display only");
  if (has_text) {
    if (auto too_long = text_too_long(c->label, c->limit, typed)) return refuse(*too_long);
  }
  if (has_data && c->kind() != ControlKind::DataWindow) return refuse(c->name() + " has no items");

  if (has_text) c->text = typed;
  if (c->checkable() && name == "clicked") {
    bool on = has_checked ? checked->get<bool>() : (c->kind() == ControlKind::RadioButton ? true : !c->checked);
    if (c->kind() == ControlKind::RadioButton && on) {
      for (const auto& other : w->controls())
        if (other->kind() == ControlKind::RadioButton) other->checked = false;
    }
    c->checked = on;
  }
  if (name == "getfocus") c->setfocus();

  if (auto* d = dynamic_cast<DataWindowControl*>(c)) return datawindow_event(*w, *d, name, event, e, has_data);
  return done(w->triggerevent(c->name(), name, e));
}

}  // namespace kq::ui
