#pragma once
// The workstation's Ui: every modal call becomes a dialog for the browser
// (see docs/protocol.md, "Dialogs") and parks the session's UI thread until
// the person answers. When the session ends while a dialog waits, the call
// returns the answer of closing the dialog (see each method).
#include <optional>
#include <string>

#include "platform/ui/ui.h"
#include "server/ui_thread.h"

namespace kq::server {

class BrowserUi : public ui::Ui {
 public:
  explicit BrowserUi(UiThread& thread) : thread_(thread) {}

  // The 1-based index of the button chosen. A session ending answers the
  // box's last button (取消, 否 …; 确定 for a box with one button).
  int messagebox(const ui::MessageBox& box) override;
  // The 1-based row chosen, 0 when nothing was chosen (or the session ended).
  long select(const ui::SelectionList& list) override;
  // "yyyy/mm/dd@yyyy/mm/dd" (the first not after the last), or nullopt when
  // the dialog was closed; any other answer is refused with 400.
  std::optional<std::string> daterange(const ui::DateRange& range) override;
  // Shows the pages until the person closes them; meanwhile the preview's
  // printout can be had as PDF (previewed()).
  void preview(const ui::Preview& preview) override;
  // Shown until progress_done() or the end of the event; does not wait.
  void progress(const ui::Progress& progress) override;
  void progress_done() override;

  // While the preview dialog `dialog_id` waits: what it shows (on the UI
  // thread only); null otherwise.
  const ui::Preview* previewed(int dialog_id) const;

 private:
  UiThread& thread_;
  const ui::Preview* preview_ = nullptr;  // while a preview dialog waits
};

}  // namespace kq::server
