#pragma once
// Window classes by name: the factories through which a menu or window code
// opens a window by its class name ("w_svc305_01"). The process has one
// registry (window_classes()), filled at start-up; a test may make its own.
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace kq::ui {

class Window;

class WindowRegistry {
 public:
  using Factory = std::function<std::unique_ptr<Window>()>;

  // Registers (or replaces) the factory of a class; names match without
  // regard to case.
  void add(std::string_view classname, Factory factory);
  bool contains(std::string_view classname) const;
  // A new window of the class; null when the class is not registered.
  std::unique_ptr<Window> create(std::string_view classname) const;
  // The registered class names, in order of name.
  std::vector<std::string> classes() const;

 private:
  mutable std::mutex mutex_;
  std::map<std::string, Factory, std::less<>> factories_;
};

// The process's registry.
WindowRegistry& window_classes();

}  // namespace kq::ui
