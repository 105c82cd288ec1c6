#pragma once
// The main menu: the windows the application offers, by Chinese title, in the
// order their entries were added. The module adds its entries at start-up
// (kq::module::install()); an entry is offered once its window class is
// registered, so a menu may name windows that are not built yet.
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/window_registry.h"

namespace kq::fw {

struct ModuleMenuEntry {
  std::string title;
  std::string classname;
  friend bool operator==(const ModuleMenuEntry&, const ModuleMenuEntry&) = default;
};

// Adds an entry at the end of the menu; an entry of a class already in the
// menu is replaced in place. Thread-safe.
void add_menu_entry(std::string title, std::string classname);

// The entries offered by `registry`, in menu order.
std::vector<ModuleMenuEntry> module_menu(const ui::WindowRegistry& registry = ui::window_classes());
// Whether `classname` is offered (the workstation may open it directly).
bool in_module_menu(std::string_view classname, const ui::WindowRegistry& registry = ui::window_classes());

// Registers the host application's windows that module windows open
// (w_svc300_03, w_svc302_03). Definitions are loaded when a window is made,
// so the module must be installed before one is opened.
void install_host_windows(ui::WindowRegistry& registry = ui::window_classes());

}  // namespace kq::fw
