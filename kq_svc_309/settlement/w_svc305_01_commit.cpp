// ue_do_commit of w_svc305_01: the cancellation of one settlement in one unit
// of work on sqlca, as the named steps of cancellation_steps.h. Every
// statement runs inside that unit; a failure shows the step's message, rolls
// the whole unit back and returns 0, so nothing of the cancellation stays
// pending for a later commit.
#include "framework/f_retu_para.h"
#include "framework/session.h"
#include "settlement/cancellation_steps.h"
#include "settlement/w_svc305_01.h"

namespace kq::svc {

long w_svc305_01::fail_commit() {
  fw::session().sqlca.rollback();
  return 0;
}

long w_svc305_01::ue_do_commit() {
  wf_hysf();
  std::optional<CancellationRequest> request = wf_vaid_check();
  if (!request) return 0;
  CancellationRequest& r = *request;
  const long ll_syzjk = Value(fw::f_retu_para("CLU", "LSYZJK")).as_long().value_or(0);
  if (r.is_wxzt.empty()) r.is_wxzt = "1";
  if (r.is_wtsbh.empty() || r.row < 1) return 0;

  // Nothing to cancel: the status is unchanged, or the work order was not
  // settled when the window read it (saving again after a cancellation must
  // not reverse it twice).
  if (!r.changes_status()) {
    dw_edit->setitemstatus(r.row, 0, dw::Buffer::Primary, dw::ItemStatus::NotModified);
    return 1;
  }

  Cancellation c(*this, r);
  c.ll_syzjk = ll_syzjk;
  archive_slip(c);
  if (!read_total(c) || !reset_header(c) || !remove_receipts(c) || !reverse_cards(c) ||
      !reverse_customer_statistics(c) || !run_finance_hook(c) || !reset_invoice(c) || !release_account(c) ||
      !commit_cancellation(c))
    return fail_commit();
  committed_ = true;
  log_and_refresh(c);
  return 1;
}

}  // namespace kq::svc
