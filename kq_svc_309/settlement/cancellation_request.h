#pragma once
// A cancellation request of w_svc305_01 as its validation (wf_vaid_check)
// accepted it: what the confirmation, the card write-back and the commit
// (ue_do_commit) act on.
#include <string>

namespace kq::svc {

struct CancellationRequest {
  std::string is_wtsbh;  // work-order number (cwtsbh)
  std::string is_wtslb;  // its category: the first character
  std::string is_ywxzt;  // the status as retrieved: "1" 结清, "2" 欠账
  std::string is_wxzt;   // the status chosen: "0" 未结, or unchanged
  long ii_mfbs = 0;      // 1 = free category (svcc90.lmfbs)
  long row = 0;          // the work order's row in dw_edit
  std::string ls_yysm;   // the reason, as typed (mle_1)
  std::string ls_hykh;   // the card number read (sle_1)

  // The status is changed (not 1 to 1 or 2 to 2): the commit writes.
  bool changes_status() const { return is_ywxzt != is_wxzt && (is_ywxzt == "1" || is_ywxzt == "2"); }
};

}  // namespace kq::svc
