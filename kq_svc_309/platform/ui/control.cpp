#include "platform/ui/control.h"

#include "platform/ui/window.h"

namespace kq::ui {

const char* kind_name(ControlKind kind) {
  switch (kind) {
    case ControlKind::StaticText: return "statictext";
    case ControlKind::CommandButton: return "commandbutton";
    case ControlKind::PictureButton: return "picturebutton";
    case ControlKind::CheckBox: return "checkbox";
    case ControlKind::RadioButton: return "radiobutton";
    case ControlKind::GroupBox: return "groupbox";
    case ControlKind::EditMask: return "editmask";
    case ControlKind::SingleLineEdit: return "singlelineedit";
    case ControlKind::MultiLineEdit: return "multilineedit";
    case ControlKind::DataWindow: return "datawindow";
    case ControlKind::Toolbar: return "toolbar";
  }
  return "statictext";
}

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
