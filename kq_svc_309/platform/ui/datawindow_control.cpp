#include "platform/ui/datawindow_control.h"

namespace kq::ui {

DataWindowControl::DataWindowControl(std::string name) : Control(std::move(name), ControlKind::DataWindow) {}

}  // namespace kq::ui
