#pragma once
// A control of a window: a named element with a kind and the properties the
// windows set and the browser shows (text, visible, enabled, checked, the
// edit mask) and an optional place. Window code reads and writes the
// properties directly (`em_1.enabled = false;`, `em_0.text = is_jsrq;`).
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/spin_range.h"

namespace kq::ui {

class Window;

// The kinds the workstation draws. `Toolbar` is the window's tool bar strip
// (its buttons are the window menu's toolbar).
enum class ControlKind {
  StaticText,
  CommandButton,
  PictureButton,
  CheckBox,
  RadioButton,
  GroupBox,
  EditMask,
  SingleLineEdit,
  MultiLineEdit,
  DataWindow,
  Toolbar,
};

// Place and size within the window, in CSS pixels from its top left corner.
struct Geometry {
  int x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const Geometry&, const Geometry&) = default;
};

class Control {
 public:
  Control(std::string name, ControlKind kind, std::string text = "");
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  ControlKind kind() const { return kind_; }
  // The window holding the control (set when the window adds it).
  Window* parent() const { return parent_; }

  // Edit masks and single- and multi-line edits take typed text.
  bool takes_text() const;
  // Check boxes and radio buttons have a checked state.
  bool checkable() const;

  // Makes this control the window's focus. 1, or -1 without a window.
  int setfocus();

  std::string text;                   // caption, or the edit's content
  bool visible = true;
  bool enabled = true;
  bool checked = false;               // check boxes and radio buttons
  std::string mask;                   // edit masks: "yyyy/mm/dd", "#" ...
  // Edits: the most characters the field takes (0: no limit); the server
  // refuses longer typed text, naming the field by `label`.
  int limit = 0;
  std::string label;                  // what messages call the field ("原因说明")
  // Edits: shown but not typed into; the server refuses typed text.
  bool displayonly = false;
  std::optional<Geometry> geometry;   // none: the workstation places it
  // Edit masks: a calendar drops down (on double-click) preset to
  // calendar_date ("yyyy/mm/dd").
  bool dropdown_calendar = false;
  std::string calendar_date;
  // Edit masks: a spin edit stepping through these numbers; typed text that
  // changes the value must be one of them (the server refuses others).
  std::optional<SpinRange> spin;

 private:
  friend class Window;
  std::string name_;
  ControlKind kind_;
  Window* parent_ = nullptr;
};

}  // namespace kq::ui
