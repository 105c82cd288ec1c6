#pragma once
#include "framework/us_preview_parameter.h"

namespace kq::fw {

// The host application's print preview: shows the data window of `p` as
// pages through the session's Ui and waits until the person closes it. The
// preview is drawn from a copy of the data window's state with p.s_modify
// applied (the data window itself is not changed); printing and PDF are the
// workstation's, from the state the preview carries. 1, or -1 without a data
// window (or one without definition).
int w_sys_dwpreview(const us_preview_parameter& p);

}  // namespace kq::fw
