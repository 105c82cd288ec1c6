#pragma once
// The platform's window state as the protocol's JSON (docs/protocol.md,
// "Window state"): each window with its menu and controls.
#include <nlohmann/json.hpp>

#include "platform/ui/window_state.h"

namespace kq::server {

// "statictext", "commandbutton" ... as the protocol names the kinds.
const char* kind_name(ui::ControlKind kind);

// {"id", "class", "title", "parent", "focus", "menu", "controls"}.
nlohmann::json window_json(const ui::WindowState& w);

// {"active": id or null, "windows": [...]}.
nlohmann::json windows_json(const ui::WindowsState& all);

}  // namespace kq::server
