#pragma once
// The caption of a window's tab at the workstation: its title, and for an
// edit window showing a chosen record, that record's key ("取消结算
// 1010000000006"), so that two edit windows of one class can be told apart.
// The window's own title stays as the window set it.
#include <string>

namespace kq::ui {
class Window;
}

namespace kq::server {

std::string window_caption(const ui::Window& window);

}  // namespace kq::server
