#include "platform/ui/window_manager.h"

#include <algorithm>

#include "platform/ui/window.h"
#include "platform/value/text.h"

namespace kq::ui {

WindowManager::Scope::Scope(WindowManager& m) : m_(m) { ++m_.depth_; }

WindowManager::Scope::~Scope() {
  if (--m_.depth_ == 0) m_.settle();
}

WindowManager::WindowManager(const WindowRegistry& registry) : registry_(registry) {}

WindowManager::~WindowManager() {
  // Children refer to their parents: destroy the last opened first.
  while (!open_.empty()) open_.pop_back();
  closed_.clear();
}

Window* WindowManager::open(std::string_view classname, Message parameter, Window* parent) {
  if (Window* existing = find(classname)) {
    activate(*existing);
    return existing;
  }
  auto w = registry_.create(classname);
  if (!w) {
    error_ = "no window class " + std::string(classname);
    return nullptr;
  }
  return open(std::move(w), std::move(parameter), parent);
}

Window* WindowManager::open(std::unique_ptr<Window> window, Message parameter, Window* parent) {
  Scope scope(*this);
  error_.clear();
  Window& w = *window;
  w.id_ = next_id_++;
  w.parent_ = (parent && parent->is_open()) ? parent : nullptr;
  w.manager_ = this;
  w.parameter_ = parameter;
  message = std::move(parameter);
  w.open_ = true;
  open_.push_back(std::move(window));
  active_ = w.id_;

  for (std::size_t i = 0; i < w.controls().size(); ++i) {
    const std::string name = w.controls()[i]->name();
    for (const char* event : {"ue_before_construct", "constructor"})
      if (w.has_event(name, event)) w.triggerevent(name, event, {});
  }
  if (!w.is_open()) {
    error_ = w.classname() + " closed itself while opening";
    return nullptr;
  }
  if (w.triggerevent("ue_before_open") == 0) {
    error_ = w.classname() + " refused to open";
    if (w.is_open()) retire(w);
    return nullptr;
  }
  if (w.is_open()) w.triggerevent("open");
  if (!w.is_open()) {
    error_ = w.classname() + " closed itself while opening";
    return nullptr;
  }
  return &w;
}

bool WindowManager::close(Window& w) {
  if (!w.is_open() || w.manager_ != this) return false;
  Scope scope(*this);
  for (Window* child : children(w)) close(*child);
  if (!w.is_open()) return true;  // a child's close event closed it
  w.triggerevent("close");
  if (w.is_open()) retire(w);
  return true;
}

void WindowManager::close_all() {
  Scope scope(*this);
  while (!open_.empty()) close(*open_.back());
}

void WindowManager::retire(Window& w) {
  w.open_ = false;
  auto it = std::find_if(open_.begin(), open_.end(), [&](const auto& p) { return p.get() == &w; });
  if (it == open_.end()) return;
  closed_.push_back(std::move(*it));
  open_.erase(it);
  if (active_ == w.id_) active_ = open_.empty() ? 0 : open_.back()->id_;
  // Posted events of the window are dropped when they come up (find by id fails).
}

std::vector<Window*> WindowManager::windows() const {
  std::vector<Window*> out;
  for (const auto& w : open_) out.push_back(w.get());
  return out;
}

Window* WindowManager::find(std::string_view classname) const {
  std::string name = text::lower(classname);
  for (auto it = open_.rbegin(); it != open_.rend(); ++it)
    if ((*it)->classname() == name) return it->get();
  return nullptr;
}

Window* WindowManager::find(int id) const {
  for (const auto& w : open_)
    if (w->id_ == id) return w.get();
  return nullptr;
}

Window* WindowManager::active() const { return find(active_); }

void WindowManager::activate(Window& w) {
  if (w.is_open() && w.manager_ == this) active_ = w.id_;
}

std::vector<Window*> WindowManager::children(const Window& w) const {
  std::vector<Window*> out;
  for (auto it = open_.rbegin(); it != open_.rend(); ++it)
    if ((*it)->parent_ == &w) out.push_back(it->get());
  return out;
}

long WindowManager::run(Window& w, std::string_view control, std::string_view event, const Event& e) {
  long result;
  {
    Scope scope(*this);
    result = w.run_handler(control, event, e);
  }
  return result;
}

void WindowManager::post(Window& w, std::string_view control, std::string_view event, const Event& e) {
  posted_.push_back(Posted{w.id_, std::string(control), std::string(event), e});
  if (depth_ == 0) {
    Scope scope(*this);  // nothing is running: run it now
  }
}

void WindowManager::settle() {
  ++depth_;
  while (!posted_.empty()) {
    Posted p = std::move(posted_.front());
    posted_.pop_front();
    if (Window* w = find(p.window)) w->run_handler(p.control, p.event, p.e);
  }
  --depth_;
  closed_.clear();
}

}  // namespace kq::ui
