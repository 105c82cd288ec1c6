#include "platform/ui/event_dispatch.h"

#include <optional>
#include <set>
#include <string>

#include "platform/ui/spin_range.h"
#include "platform/ui/text_limit.h"
#include "platform/ui/window.h"
#include "platform/ui/window_manager.h"
#include "platform/value/text.h"

namespace kq::ui {

namespace {

// Control events the workstation sends.
const std::set<std::string, std::less<>> kControlEvents = {
    "clicked",   "doubleclicked",   "rbuttondown",     "modified", "ue_key", "ue_keydown",
    "getfocus",  "ue_after_double", "rowfocuschanged", "itemchanged", "scroll",
};

DispatchResult refuse(std::string why) { return {.ok = false, .result = -1, .window = 0, .error = std::move(why)}; }
// A refusal the person mends (their typed text), told in their words.
DispatchResult refuse_typed(std::string why) {
  DispatchResult r = refuse(std::move(why));
  r.for_person = true;
  return r;
}
DispatchResult done(long result) { return {.ok = true, .result = result}; }

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

DispatchResult open_window(WindowManager& m, const EventRequest& event, const DispatchOptions& options) {
  if (event.window_class.empty()) return refuse("open: \"class\" is missing");
  if (!options.may_open || !options.may_open(event.window_class))
    return refuse("window class " + event.window_class + " cannot be opened");
  Window* w = m.open(event.window_class);
  if (!w) return refuse(m.last_error());
  DispatchResult out = done(1);
  out.window = w->id();
  return out;
}

DispatchResult window_event(WindowManager& m, Window& w, const std::string& name, const Event& e) {
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

DispatchResult datawindow_event(Window& w, DataWindowControl& c, const std::string& name, const EventRequest& event,
                                const Event& e) {
  dw::DataWindow& d = c.dw();
  const bool has_data = event.data.has_value();
  if (name == "scroll") {
    if (e.row < 1) return refuse("scroll: \"row\" must be 1 or more");
    if (event.row_window < 0) return refuse("scroll: bad \"row_window\"");
    c.first_row = e.row;
    if (event.row_window > 0) c.row_window = event.row_window;
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
    if (auto too_long = column_too_long(d, *column, e.data)) return refuse_typed(*too_long);
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
  // A click on a heading: no row, a column, nothing typed.
  if (name == "clicked" && e.row == 0 && !e.column.empty() && !event.text && !event.checked)
    w.heading_clicked(c, e.column);
  return done(w.triggerevent(c.name(), name, e));
}

}  // namespace

DispatchResult dispatch_event(WindowManager& m, const EventRequest& event, const DispatchOptions& options) {
  WindowManager::Scope scope(m);
  if (event.event.empty()) return refuse("\"event\" is missing");
  const std::string name = text::lower(event.event);
  Event e;
  e.row = event.row;
  e.column = event.column;
  e.data = event.data.value_or("");
  e.number = event.number;
  e.key = event.key;
  e.keyflags = event.keyflags;
  e.xpos = event.xpos;
  e.ypos = event.ypos;

  if (event.window == 0) {
    if (name == "open") return open_window(m, event, options);
    return refuse("the session has no event " + name);
  }
  Window* w = m.find(event.window);
  if (!w) return refuse("no open window " + std::to_string(event.window));
  if (event.control.empty()) {
    if (event.text || event.data) return refuse("a window event carries no typed text");
    return window_event(m, *w, name, e);
  }

  Control* c = w->control(event.control);
  if (!c) return refuse(w->classname() + " has no control " + event.control);
  if (!c->visible) return refuse(c->name() + " is hidden");
  if (!c->enabled) return refuse(c->name() + " is disabled");
  if (kControlEvents.find(name) == kControlEvents.end()) return refuse(name + " is not an event the workstation sends");

  if (event.checked && !c->checkable()) return refuse(c->name() + " cannot be checked");
  if (event.text && !c->takes_text()) return refuse(c->name() + " takes no typed text");
  if (event.text && c->displayonly && *event.text != c->text) return refuse(c->name() + " is display only");
  if (event.text) {
    if (auto too_long = text_too_long(c->label, c->limit, *event.text)) return refuse_typed(*too_long);
    if (c->spin && *event.text != c->text) {
      if (auto outside = outside_spin(c->label, *c->spin, *event.text)) return refuse_typed(*outside);
    }
  }
  if (event.data && c->kind() != ControlKind::DataWindow) return refuse(c->name() + " has no items");

  if (event.text) c->text = *event.text;
  if (c->checkable() && name == "clicked") {
    bool on = event.checked ? *event.checked : (c->kind() == ControlKind::RadioButton ? true : !c->checked);
    if (c->kind() == ControlKind::RadioButton && on) {
      for (const auto& other : w->controls())
        if (other->kind() == ControlKind::RadioButton) other->checked = false;
    }
    c->checked = on;
  }
  if (name == "getfocus") c->setfocus();

  if (auto* d = dynamic_cast<DataWindowControl*>(c)) return datawindow_event(*w, *d, name, event, e);
  return done(w->triggerevent(c->name(), name, e));
}

}  // namespace kq::ui
