#include "framework/module_menu.h"

#include <mutex>

#include "framework/w_svc300_03.h"
#include "framework/w_svc302_03.h"
#include "platform/value/text.h"

namespace kq::fw {
namespace {

struct Menu {
  std::mutex mutex;
  std::vector<ModuleMenuEntry> entries;
};

Menu& menu() {
  static Menu* m = new Menu();
  return *m;
}

}  // namespace

void add_menu_entry(std::string title, std::string classname) {
  Menu& m = menu();
  std::lock_guard lock(m.mutex);
  for (auto& e : m.entries)
    if (text::iequals(e.classname, classname)) {
      e.title = std::move(title);
      return;
    }
  m.entries.push_back({std::move(title), std::move(classname)});
}

std::vector<ModuleMenuEntry> module_menu(const ui::WindowRegistry& registry) {
  Menu& m = menu();
  std::lock_guard lock(m.mutex);
  std::vector<ModuleMenuEntry> out;
  for (const auto& e : m.entries)
    if (registry.contains(e.classname)) out.push_back(e);
  return out;
}

bool in_module_menu(std::string_view classname, const ui::WindowRegistry& registry) {
  for (const auto& e : module_menu(registry))
    if (text::iequals(e.classname, classname)) return true;
  return false;
}

void install_host_windows(ui::WindowRegistry& registry) {
  registry.add("w_svc300_03", [] { return std::make_unique<w_svc300_03>(); });
  registry.add("w_svc302_03", [] { return std::make_unique<w_svc302_03>(); });
}

}  // namespace kq::fw
