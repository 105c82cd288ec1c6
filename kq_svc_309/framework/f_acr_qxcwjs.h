#pragma once
// The finance module's hook for cancelling a settlement, called by the
// cancellation when the finance module is installed (gi_cwaz = 1). Both read
// the work order (cwtsbh) of row `row` of `dw` and work on sqlca inside the
// cancellation's unit of work; neither commits nor rolls back.
#include "platform/dw/datawindow/datawindow.h"

namespace kq::fw {

// 1 when finance lets the settlement be cancelled. 0, after a message, when
// a voucher (npzid) or a finance receipt (lcwskwb) exists for the work order,
// when the work order is not found, or when it cannot be read.
int f_acr_qxcwjs_valid(dw::DataWindow& dw, long row);

// Tells finance that the settlement is being cancelled: one row in
// kq_finance_call. 1, or 0 after a message when it cannot be written.
int f_acr_qxcwjs(dw::DataWindow& dw, long row);

}  // namespace kq::fw
