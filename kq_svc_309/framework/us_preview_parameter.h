#pragma once
// Parameter of the print preview w_sys_dwpreview.
#include <string>

#include "platform/dw/datawindow/datawindow.h"

namespace kq::fw {

struct us_preview_parameter {
  int i_datawindow_type = 1;                      // 1: the data window itself is previewed
  dw::DataWindow* dw_datawindow_name = nullptr;   // the data window previewed
  std::string s_datawindow_syntax;                // not used: definitions are named
  std::string s_string;                           // "nop" and the like: passed to the preview
  std::string s_winname;                          // class name of the asking window
  std::string s_title;                            // caption ("" = the definition's title)
  std::string s_modify;                           // modify text applied to the preview only
};

}  // namespace kq::fw
