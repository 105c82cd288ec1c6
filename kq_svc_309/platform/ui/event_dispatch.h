#pragma once
// Runs an event that the workstation sent (docs/protocol.md, "Events"):
//
//   {"window": 3, "control": "em_1", "event": "ue_key", "key": 13, "text": "2026/12/01"}
//
// What the person typed travels with the event and is applied first: `text`
// to an edit, `checked` to a check box or radio button, `data` (text or a
// number, with `row` and `column`) to an item of a data window as its
// pending edit, which accepttext() then validates (running the control's
// itemchanged event). A `row` of a data window event becomes the current row
// first (firing rowfocuschanged when it moves). Then the event's handler
// runs, and the events it posted after it.
//
// Refused, with nothing applied: an unknown window or control; a control
// that is hidden or disabled; text or a check state for a control that takes
// none; an item that is protected (its protect expression, or a read-only
// data window) or a row that does not exist; a window event that is not an
// enabled command of the window's menu or tool bar; an event name the
// workstation does not send (the window's internal events never come from it).
//
// Window 0 stands for the session: {"window": 0, "event": "open", "class":
// "w_svc305"} opens a window of the main menu (a class `may_open` accepts).
#include <functional>
#include <string_view>

#include <nlohmann/json.hpp>

namespace kq::ui {

class WindowManager;

struct DispatchOptions {
  // Window classes the workstation may open directly.
  std::function<bool(std::string_view classname)> may_open;
};

// {"ok": true, "result": <the handler's result, -1 when it has none>}, plus
// "window": id for an open; or {"ok": false, "error": "<why refused>"}.
nlohmann::json dispatch_event(WindowManager& m, const nlohmann::json& event, const DispatchOptions& options = {});

}  // namespace kq::ui
