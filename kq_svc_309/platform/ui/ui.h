#pragma once
// Everything modal that the module asks of the person at the workstation goes
// through a Ui. The workstation's implementation parks the session's thread
// until the browser answers; tests use ScriptedUi, which answers from a list
// and records what was shown.
//
// Only messagebox must be implemented. The other dialogs default to the
// answer of a person who closes them without choosing: no row, no date
// range, a preview closed at once, a progress indicator nobody sees.
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/date_range.h"
#include "platform/ui/message_box.h"
#include "platform/ui/preview.h"
#include "platform/ui/progress.h"
#include "platform/ui/selection_list.h"

namespace kq::ui {

class Ui {
 public:
  virtual ~Ui() = default;
  // Shows a message box and waits; returns the 1-based index of the button chosen.
  virtual int messagebox(const MessageBox& box) = 0;
  // Shows a selection list and waits; returns the 1-based index of the row
  // chosen, 0 when nothing was chosen. An answer outside 1..rows counts as 0.
  virtual long select(const SelectionList& list) {
    (void)list;
    return 0;
  }
  // Asks for a range of dates; returns "first@last" (each "yyyy/mm/dd"), or
  // nullopt when the person cancelled.
  virtual std::optional<std::string> daterange(const DateRange& range) {
    (void)range;
    return std::nullopt;
  }
  // Shows a print preview and waits until the person closes it.
  virtual void preview(const Preview& preview) { (void)preview; }
  // Shows the progress indicator; it stays until progress_done() (and at the
  // latest until the current event ends). Does not wait.
  virtual void progress(const Progress& progress) { (void)progress; }
  virtual void progress_done() {}
};

// Convenience: a plain information box with an OK button.
inline int messagebox(Ui& ui, std::string_view title, std::string_view text, Icon icon = Icon::Information,
                      Buttons buttons = Buttons::Ok, int default_button = 1) {
  return ui.messagebox(MessageBox{std::string(title), std::string(text), icon, buttons, default_button});
}

}  // namespace kq::ui
