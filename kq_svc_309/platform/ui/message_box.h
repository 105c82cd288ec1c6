#pragma once
// The runtime's message box: a title, a text, an icon and a set of buttons.
#include <string>

namespace kq::ui {

enum class Icon { Information, StopSign, Exclamation, Question, None };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };

struct MessageBox {
  std::string title;
  std::string text;
  Icon icon = Icon::Information;
  Buttons buttons = Buttons::Ok;
  int default_button = 1;
  friend bool operator==(const MessageBox&, const MessageBox&) = default;
};

// Captions of the buttons, first button first (the answer is the 1-based index).
const char* const* button_captions(Buttons buttons, int* count);

}  // namespace kq::ui
