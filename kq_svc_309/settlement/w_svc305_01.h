#pragma once
// w_svc305_01, 取消结算: the cancellation window of one settled work order,
// opened by w_svc305 for the chosen row. So far it shows the work order's
// row (d_svc305_01_01) in dw_edit; the cancellation itself (validation, card,
// commit) is still to come, and its save command does nothing yet.
#include "framework/w_stmm_edit.h"

namespace kq::svc {

class w_svc305_01 : public fw::w_stmm_edit {
 public:
  w_svc305_01();

  // The cancellation replaces the ancestor's save: 1, nothing saved.
  long ue_save() override;
};

}  // namespace kq::svc
