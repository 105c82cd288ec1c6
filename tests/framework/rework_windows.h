#pragma once
// A list and an edit window of rework records (d_svc304_01, d_svc304_01_01)
// built on the ancestors alone, for the ancestors' tests: the edit window
// records its save steps and answers each with a chosen result; its
// ue_before_update writes to the work order's items, so that a rollback
// shows.
#include <string>
#include <vector>

#include "framework/session.h"
#include "framework/w_stmm_display.h"
#include "framework/w_stmm_edit.h"
#include "platform/db/read_scheduler.h"

namespace kq::testing {

class ReworkList : public fw::w_stmm_display {
 public:
  ReworkList() : fw::w_stmm_display("w_test_list", "返修处理") { dw_display->dataobject("d_svc304_01"); }
  long ue_before_open() override {
    if (fw::w_stmm_display::ue_before_open() == 0) return 0;
    is_primarykey = "cwtsbh,cwxxmdm";
    is_editwindowname = "w_test_edit";
    return 1;
  }
  long ue_after_delete() override {
    if (fw::w_stmm_display::ue_after_delete() == 0) return 0;
    fw::session().sqlca.exec("update svcb20d set lfgbs = 7 where cwtsbh = '1010000000005'");
    urgent_at_delete = db::UrgentReads::active();
    return after_delete;
  }
  // The row of a work order's rework record; 0 when not listed.
  long row_of(const std::string& bh) {
    for (long r = 1; r <= dw_display->rowcount(); ++r)
      if (dw_display->getitemstring(r, "cwtsbh") == bh) return r;
    return 0;
  }
  long after_delete = 1;
  bool urgent_at_delete = false;  // the deletion ran as urgent work (its retrievals go first)
};

class ReworkEdit : public fw::w_stmm_edit {
 public:
  ReworkEdit() : fw::w_stmm_edit("w_test_edit", "返修登记") { dw_edit->dataobject("d_svc304_01_01"); }
  long ue_valid_check() override {
    if (fw::w_stmm_edit::ue_valid_check() == 0) return 0;
    steps.push_back("ue_valid_check");
    return valid;
  }
  long ue_before_update() override {
    if (fw::w_stmm_edit::ue_before_update() == 0) return 0;
    steps.push_back("ue_before_update");
    fw::session().sqlca.exec("update svcb20d set lfgbs = 9 where cwtsbh = '1010000000005'");
    return before_update;
  }
  long ue_before_commit() override {
    if (fw::w_stmm_edit::ue_before_commit() == 0) return 0;
    steps.push_back("ue_before_commit");
    urgent_at_commit = db::UrgentReads::active();
    return before_commit;
  }
  std::vector<std::string> steps;
  long valid = 1, before_update = 1, before_commit = 1;
  bool urgent_at_commit = false;  // the save ran as urgent work (its retrievals go first)
};

}  // namespace kq::testing
