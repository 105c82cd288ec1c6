#include "platform/ui/control.h"

#include "platform/ui/window.h"

namespace kq::ui {

Control::Control(std::string name, ControlKind kind, std::string text)
    : text(std::move(text)), name_(std::move(name)), kind_(kind) {}

bool Control::takes_text() const {
  return kind_ == ControlKind::EditMask || kind_ == ControlKind::SingleLineEdit ||
         kind_ == ControlKind::MultiLineEdit;
}

bool Control::checkable() const { return kind_ == ControlKind::CheckBox || kind_ == ControlKind::RadioButton; }

int Control::setfocus() {
  if (!parent_) return -1;
  parent_->set_focus(name_);
  return 1;
}

}  // namespace kq::ui
