#pragma once
#include <string_view>

#include "platform/ui/message_box.h"

namespace kq::fw {

// Shows a message box (OK button) to the person at the workstation; without
// a Ui, writes "title: text" to standard error.
void f_msg(std::string_view title, std::string_view text, ui::Icon icon = ui::Icon::Information);

// A message box with buttons; returns the 1-based button chosen (the default
// button without a Ui).
int messagebox(std::string_view title, std::string_view text, ui::Icon icon = ui::Icon::Information,
               ui::Buttons buttons = ui::Buttons::Ok, int default_button = 1);

}  // namespace kq::fw
