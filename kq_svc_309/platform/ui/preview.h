#pragma once
// The print preview: a data window drawn as pages. Printing and PDF are the
// workstation's: it renders `state` again (dw::DataWindow::from_state_blob)
// when the person asks for them.
#include <string>

#include "platform/value/value.h"

namespace kq::ui {

struct Preview {
  std::string title;       // caption of the preview
  std::string window;      // class name of the window asking for it
  std::string dataobject;  // the definition shown
  std::string html;        // the pages as an HTML fragment (render_html, preview mode)
  Blob state;              // the previewed data window's state, modifications applied
  // 0: shown until the person closes it; 1 to 9: printed at once in that
  // many copies, without waiting for the person.
  int copies = 0;
  // The printer (CUPS queue) the preview's 打印 prints on, on the server
  // without a dialog; "" when the browser prints (its print dialog).
  std::string printer;
};

}  // namespace kq::ui
