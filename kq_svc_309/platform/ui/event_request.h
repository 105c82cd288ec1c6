#pragma once
// An event as the person sends it from the workstation, typed: which window
// and control, the event's name and arguments, and what the person typed
// with it. The server makes one from the protocol's message; tests make them
// directly:
//
//   dispatch_event(m, {.window = w.id(), .control = "em_1", .event = "ue_key", .key = 13,
//                      .text = "2026/12/01"});
#include <optional>
#include <string>

namespace kq::ui {

struct EventRequest {
  int window = 0;       // the window's id; 0 stands for the session (open)
  std::string control{};  // "" = an event of the window itself
  std::string event{};    // "clicked", "ue_key", "ue_cus", "open" ... (any case)
  long row = 0;         // a data window's row (0 = none, or its heading)
  std::string column{};   // the data window object (column) concerned
  long number = 0;      // ue_cus: the command's index
  int key = 0;          // ue_key, ue_keydown: key code (13 = Enter)
  int keyflags = 0;     // 1 Shift, 2 Ctrl
  long xpos = 0, ypos = 0;
  std::optional<std::string> text{};  // typed into an edit
  std::optional<std::string> data{};  // typed into the item (row, column) of a data window
  std::optional<bool> checked{};      // the state a check box or radio button is given
  long row_window = 0;              // scroll: the rows the browser shows (0 = keep)
  std::string window_class{};         // open: the window class to open
};

// What became of an event. `result` is the handler's (-1 when it has none);
// `window` the id of a window an open opened; `error` why it was refused.
struct DispatchResult {
  bool ok = false;
  long result = -1;
  int window = 0;
  std::string error{};
  // The refusal is the person's to mend (a typed value out of range, too
  // long): `error` is then a sentence for them, shown as it is.
  bool for_person = false;
};

}  // namespace kq::ui
