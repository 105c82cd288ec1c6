#pragma once
// Runs an event that the person sent from the workstation:
//
//   {.window = 3, .control = "em_1", .event = "ue_key", .key = 13, .text = "2026/12/01"}
//
// What the person typed travels with the event and is applied first: `text`
// to an edit, `checked` to a check box or radio button, `data` (with `row`
// and `column`) to an item of a data window as its pending edit, which
// accepttext() then validates (running the control's itemchanged event). A
// `row` of a data window event becomes the current row first (firing
// rowfocuschanged when it moves). A click on a heading of a data window (a
// clicked with row 0 and a column, nothing typed) is offered to the window
// (Window::heading_clicked) before its clicked event. Then the event's
// handler runs, and the events it posted after it.
//
// Refused, with nothing applied: an unknown window or control; a control
// that is hidden or disabled; text or a check state for a control that takes
// none; an item that is protected (its protect expression, or a read-only
// data window) or a row that does not exist; a window event that is not an
// enabled command of the window's menu or tool bar; an event name the
// workstation does not send (the window's internal events never come from it).
//
// Window 0 stands for the session: {.window = 0, .event = "open",
// .window_class = "w_svc305"} opens a window of the main menu (a class
// `may_open` accepts).
#include <functional>
#include <string_view>

#include "platform/ui/event_request.h"

namespace kq::ui {

class WindowManager;

struct DispatchOptions {
  // Window classes the workstation may open directly.
  std::function<bool(std::string_view classname)> may_open;
};

DispatchResult dispatch_event(WindowManager& m, const EventRequest& event, const DispatchOptions& options = {});

}  // namespace kq::ui
