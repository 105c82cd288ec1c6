#include "server/event_json.h"

#include <string>

namespace kq::server {

using nlohmann::json;

namespace {

// The member `name` of `event` when present and not null.
const json* member(const json& event, const char* name) {
  auto it = event.find(name);
  return it == event.end() || it->is_null() ? nullptr : &*it;
}

template <typename N>
bool whole_number(const json& event, const char* name, N& out) {
  const json* m = member(event, name);
  if (!m) return true;
  if (!m->is_number_integer()) return false;
  out = static_cast<N>(m->get<long long>());
  return true;
}

bool text_member(const json& event, const char* name, std::string& out) {
  const json* m = member(event, name);
  if (!m) return true;
  if (!m->is_string()) return false;
  out = m->get<std::string>();
  return true;
}

}  // namespace

Result<ui::EventRequest> event_from_json(const json& event) {
  if (!event.is_object()) return make_error("an event is a JSON object");
  ui::EventRequest r;
  if (!whole_number(event, "window", r.window)) return make_error("\"window\" must be a whole number");
  if (!text_member(event, "event", r.event) || r.event.empty()) return make_error("\"event\" is missing");
  if (!text_member(event, "control", r.control)) return make_error("\"control\" must be text");
  if (!text_member(event, "column", r.column)) return make_error("\"column\" must be text");
  if (!text_member(event, "class", r.window_class)) return make_error("open: \"class\" is missing");
  if (const json* t = member(event, "text")) {
    if (!t->is_string()) return make_error("\"text\" must be text");
    r.text = t->get<std::string>();
  }
  if (const json* d = member(event, "data")) {
    if (d->is_string()) r.data = d->get<std::string>();
    else if (d->is_number_integer()) r.data = std::to_string(d->get<long long>());
    else if (d->is_number()) r.data = d->dump();
    else return make_error("\"data\" must be text or a number");
  }
  if (const json* c = member(event, "checked")) {
    if (!c->is_boolean()) return make_error("\"checked\" must be true or false");
    r.checked = c->get<bool>();
  }
  if (!whole_number(event, "row", r.row) || !whole_number(event, "number", r.number) ||
      !whole_number(event, "key", r.key) || !whole_number(event, "keyflags", r.keyflags) ||
      !whole_number(event, "xpos", r.xpos) || !whole_number(event, "ypos", r.ypos) ||
      !whole_number(event, "row_window", r.row_window))
    return make_error("row, number, key, keyflags, xpos, ypos and row_window are whole numbers");
  return r;
}

}  // namespace kq::server
