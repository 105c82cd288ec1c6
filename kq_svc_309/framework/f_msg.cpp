#include "framework/f_msg.h"

#include <iostream>

#include "framework/session.h"

namespace kq::fw {

int messagebox(std::string_view title, std::string_view text, ui::Icon icon, ui::Buttons buttons,
               int default_button) {
  Session* s = current_session();
  if (s == nullptr || s->ui == nullptr) {
    std::cerr << title << ": " << text << '\n';
    return default_button;
  }
  return s->ui->messagebox(ui::MessageBox{std::string(title), std::string(text), icon, buttons, default_button});
}

void f_msg(std::string_view title, std::string_view text, ui::Icon icon) { messagebox(title, text, icon); }

}  // namespace kq::fw
