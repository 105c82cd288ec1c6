#include "platform/ui/window.h"

#include <cassert>

#include "platform/ui/window_manager.h"
#include "platform/value/text.h"

namespace kq::ui {

Window::Window(std::string classname, std::string title)
    : title(std::move(title)), classname_(text::lower(classname)) {
  on("", "ue_before_open", [this](const Event&) { return ue_before_open(); });
  on("", "open", [this](const Event&) { return open(); });
  on("", "close", [this](const Event&) { return close(); });
}

Window::~Window() = default;

void Window::adopt(std::unique_ptr<Control> control) {
  std::string key = text::lower(control->name());
  assert(by_name_.find(key) == by_name_.end() && "control names are unique within a window");
  control->parent_ = this;
  by_name_[key] = control.get();
  if (control->kind() == ControlKind::DataWindow) {
    if (auto* d = dynamic_cast<DataWindowControl*>(control.get())) wire_itemchanged(*d);
  }
  controls_.push_back(std::move(control));
}

// accepttext() of the data window runs the window's itemchanged event of the
// control (when it has one) before it stores a typed value.
void Window::wire_itemchanged(DataWindowControl& control) {
  std::string name = control.name();
  control.dw().on_itemchanged([this, name](long row, std::string_view column, const std::string& data) -> int {
    if (!has_event(name, "itemchanged")) return 0;
    Event e;
    e.row = row;
    e.column = std::string(column);
    e.data = data;
    return static_cast<int>(triggerevent(name, "itemchanged", e));
  });
}

Control* Window::control(std::string_view name) const {
  auto it = by_name_.find(text::lower(name));
  return it == by_name_.end() ? nullptr : it->second;
}

DataWindowControl* Window::datawindow(std::string_view name) const {
  return dynamic_cast<DataWindowControl*>(control(name));
}

void Window::set_focus(std::string control) { focus_ = std::move(control); }

void Window::on(std::string_view control, std::string_view event, Handler handler) {
  handlers_[{text::lower(control), text::lower(event)}] = std::move(handler);
}

bool Window::has_event(std::string_view control, std::string_view event) const {
  return handlers_.find({text::lower(control), text::lower(event)}) != handlers_.end();
}

long Window::run_handler(std::string_view control, std::string_view event, const Event& e) {
  auto it = handlers_.find({text::lower(control), text::lower(event)});
  if (it == handlers_.end()) return -1;
  Handler h = it->second;  // a handler may bind its event anew while it runs
  return h(e);
}

long Window::triggerevent(std::string_view event, const Event& e) { return triggerevent("", event, e); }

long Window::triggerevent(std::string_view control, std::string_view event, const Event& e) {
  if (manager_) return manager_->run(*this, control, event, e);
  return run_handler(control, event, e);
}

void Window::postevent(std::string_view event, const Event& e) { postevent("", event, e); }

void Window::postevent(std::string_view control, std::string_view event, const Event& e) {
  if (manager_) manager_->post(*this, control, event, e);
}

int Window::changemenu(std::string name) {
  menu_.name = std::move(name);
  return 1;
}

int close(Window& w) {
  if (!w.manager() || !w.is_open()) return -1;
  return w.manager()->close(w) ? 1 : -1;
}

int closewithreturn(Window& w, Message answer) {
  WindowManager* m = w.manager();
  if (!m || !w.is_open()) return -1;
  if (!m->close(w)) return -1;
  m->message = std::move(answer);
  return 1;
}

}  // namespace kq::ui
