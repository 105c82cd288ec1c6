#include "platform/ui/window_registry.h"

#include "platform/ui/window.h"
#include "platform/value/text.h"

namespace kq::ui {

void WindowRegistry::add(std::string_view classname, Factory factory) {
  std::lock_guard lock(mutex_);
  factories_[text::lower(classname)] = std::move(factory);
}

bool WindowRegistry::contains(std::string_view classname) const {
  std::lock_guard lock(mutex_);
  return factories_.find(text::lower(classname)) != factories_.end();
}

std::unique_ptr<Window> WindowRegistry::create(std::string_view classname) const {
  Factory f;
  {
    std::lock_guard lock(mutex_);
    auto it = factories_.find(text::lower(classname));
    if (it == factories_.end()) return nullptr;
    f = it->second;
  }
  return f();
}

std::vector<std::string> WindowRegistry::classes() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> out;
  for (const auto& [name, f] : factories_) out.push_back(name);
  return out;
}

WindowRegistry& window_classes() {
  static WindowRegistry registry;
  return registry;
}

}  // namespace kq::ui
