#pragma once
// The module's main menu: its windows by Chinese title, in menu order —
// 派工处理 w_svc301, 返修处理 w_svc304, 取消结算 w_svc305, 打印结算单
// w_svc309, 委托书打印工单 w_svc310 — of which those whose class is
// registered are offered.
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/ui/window_registry.h"

namespace kq::fw {

struct ModuleMenuEntry {
  std::string title;
  std::string classname;
  friend bool operator==(const ModuleMenuEntry&, const ModuleMenuEntry&) = default;
};

// The entries offered by `registry`, in menu order.
std::vector<ModuleMenuEntry> module_menu(const ui::WindowRegistry& registry = ui::window_classes());
// Whether `classname` is offered (the workstation may open it directly).
bool in_module_menu(std::string_view classname, const ui::WindowRegistry& registry = ui::window_classes());
// [{"title": "取消结算", "class": "w_svc305"}, ...]
nlohmann::json module_menu_json(const ui::WindowRegistry& registry = ui::window_classes());

// Registers the module's window classes and the host application's windows
// they open (w_svc300_03, w_svc302_03). Definitions are loaded when a window
// is made, so fw::install_dw_functions() must have run before one is opened.
void install_module_windows(ui::WindowRegistry& registry = ui::window_classes());

}  // namespace kq::fw
