#pragma once
// The steps of the cancellation commit (w_svc305_01::ue_do_commit), in the
// order it runs them on sqlca. A step that returns false has shown its
// message; the commit then rolls the whole unit back. Nothing is committed
// before commit_cancellation.
#include <string>
#include <string_view>

#include "platform/value/value.h"
#include "settlement/cancellation_request.h"

namespace kq::fw {
struct Globals;
}
namespace kq::db {
class Transaction;
}
namespace kq::dw {
class DataWindow;
}

namespace kq::svc {

class w_svc305_01;

// What the steps of one cancellation share: the request, the window, and the
// values one step reads for a later one.
struct Cancellation {
  Cancellation(w_svc305_01& window, const CancellationRequest& request);

  w_svc305_01& w;
  const CancellationRequest& r;
  fw::Globals& g;
  db::Transaction& sqlca;
  dw::DataWindow& edit;  // dw_edit

  long ll_syzjk = 0;   // 1 = the club database kq_club is written too (CLU/LSYZJK)
  Dec ldc_hjje = 0;    // the work order's total, for the log
  std::string ls_skxf; // "1" = paid by card, "0" otherwise

  // When `failed`: msg(gs_tsxx, text) and true.
  bool msg_fail(bool failed, std::string_view text);
};

// The slip as it stands, archived into svcb61 with its full state. Its
// failure is not reported and does not stop the cancellation.
void archive_slip(Cancellation& c);
// The work order's total amount (ldc_hjje).
bool read_total(Cancellation& c);
// The header's settlement fields reset (charges back to the undiscounted
// amounts), only while the header still has the status the window read.
bool reset_header(Cancellation& c);
// The receipt entry of the work order removed.
bool remove_receipts(Cancellation& c);
// Points and stored value back to the card(s), locally and in kq_club; only
// for a card payment with the club installed.
bool reverse_cards(Cancellation& c);
// The visit, its hours and its amount taken off the customer's statistics.
bool reverse_customer_statistics(Cancellation& c);
// The finance module told (when installed); false when it refuses.
bool run_finance_hook(Cancellation& c);
// The invoice and accounting fields of the header reset.
bool reset_invoice(Cancellation& c);
// The account of a claim work order (Z, V, S) released.
bool release_account(Cancellation& c);
// Commits sqlca; false (message shown) when the commit failed.
bool commit_cancellation(Cancellation& c);
// After the commit: one line of the operation log, the window's row marked
// saved, and the list retrieved again over the range it showed.
void log_and_refresh(Cancellation& c);

}  // namespace kq::svc
