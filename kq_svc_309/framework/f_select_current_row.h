#pragma once
#include "platform/dw/datawindow/datawindow.h"

namespace kq::fw {

// Highlights the current row of a list: that row (row 1 when none is
// current) becomes the only selected one and is scrolled into view. 1, or -1
// when the data window has no rows.
int f_select_current_row(dw::DataWindow& dw);

}  // namespace kq::fw
