#pragma once
// Everything modal that the module asks of the person at the workstation goes
// through a Ui. The workstation's implementation parks the session's thread
// until the browser answers; tests use ScriptedUi, which answers from a list
// and records what was shown.
#include <string_view>

#include "platform/ui/message_box.h"

namespace kq::ui {

class Ui {
 public:
  virtual ~Ui() = default;
  // Shows a message box and waits; returns the 1-based index of the button chosen.
  virtual int messagebox(const MessageBox& box) = 0;
};

// Convenience: a plain information box with an OK button.
inline int messagebox(Ui& ui, std::string_view title, std::string_view text, Icon icon = Icon::Information,
                      Buttons buttons = Buttons::Ok, int default_button = 1) {
  return ui.messagebox(MessageBox{std::string(title), std::string(text), icon, buttons, default_button});
}

}  // namespace kq::ui
