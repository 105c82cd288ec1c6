#pragma once
#include "platform/ui/window.h"
#include "platform/value/value.h"

namespace kq::fw {

// The host application's date-range dialog: asks the person for a first
// and a last date (preset to gd_qsrq and gd_xtrq) through the session's Ui.
// The answer is "first@last", each "yyyy/mm/dd"; null when the person
// cancelled or the answer is not two dates, the first not after the last.
// It is also left as the text of `parent`'s manager's message, as a closed
// dialog leaves its answer.
Str w_pop_rqts(ui::Window* parent = nullptr);

}  // namespace kq::fw
