#pragma once
// The menu of a window: its name (the host application's menu object,
// "m_sys_08"), the window's custom commands (each fires ue_cus with its
// index) and the tool bar's buttons (each fires its event).
#include <string>
#include <vector>

namespace kq::ui {

struct MenuCommand {
  int index = 0;  // ue_cus(index)
  std::string text;
  bool enabled = true;
  friend bool operator==(const MenuCommand&, const MenuCommand&) = default;
};

struct ToolbarButton {
  std::string event;  // the window event fired: "ue_refresh", "ue_cus" ...
  long number = 0;    // ue_cus: its command index; otherwise 0
  std::string text;
  bool enabled = true;
  friend bool operator==(const ToolbarButton&, const ToolbarButton&) = default;
};

struct Menu {
  std::string name;
  std::vector<MenuCommand> commands;
  std::vector<ToolbarButton> toolbar;

  // The command with `index`; null when there is none.
  const MenuCommand* command(int index) const {
    for (const auto& c : commands)
      if (c.index == index) return &c;
    return nullptr;
  }
};

}  // namespace kq::ui
