#pragma once
// w_svc305_01, 取消结算: the cancellation window of one settled work order,
// opened by w_svc305 for the chosen row (dw_edit, d_svc305_01_01).
//
// The cashier chooses the new status (cwxzt), types the reason (mle_1) and,
// for a card settlement, reads the member's card (cb_2 or sle_1); the save
// command ue_cus(1) validates (wf_vaid_check), asks the cashier to confirm
// what will change, shows the progress indicator,
// writes the IC card back when sys/czjcdm is "A" (wf_card_exe) and runs the
// cancellation (ue_do_commit) in one unit of work on sqlca.
//
// Window functions live in three files: w_svc305_01.cpp (opening, events,
// validation), w_svc305_01_card.cpp (the membership card: wf_hysf,
// wf_hyk_read, wf_card_exe) and w_svc305_01_commit.cpp (ue_do_commit, whose
// steps are in cancellation_steps.h).
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/uo_clu100.h"
#include "framework/uo_clu180.h"
#include "framework/w_stmm_edit.h"
#include "settlement/cancellation_request.h"

namespace kq::svc {

class w_svc305_01 : public fw::w_stmm_edit {
 public:
  w_svc305_01();
  ~w_svc305_01() override;

  // Card readers: the IC card (uo_1) and the club card (uo_2).
  std::unique_ptr<fw::uo_clu100> uo_1;
  ui::DataWindowControl& dw_jsd;  // the settlement slip (d_svc305_jsd1), hidden; archived by the commit
  ui::Control& cb_1;              // hidden, unused
  ui::DataWindowControl& dw_1;    // hidden, unused
  ui::Control& mle_1;             // reason for the cancellation
  ui::Control& st_1;              // caption of mle_1
  ui::Control& em_1;              // amount paid from the card (display only)
  ui::Control& em_2;              // points of this settlement (display only)
  ui::Control& sle_1;             // card number read
  ui::Control& cb_2;              // "读 卡"
  std::unique_ptr<fw::uo_clu180> uo_2;
  ui::Control& st_2;              // caption of sle_1
  ui::Control& st_3;              // caption of em_1
  ui::Control& st_4;              // caption of em_2

  std::string is_wtsbh;   // work-order number
  bool ib_opencom = false;  // the IC card port was opened
  std::string is_azhyk;   // "1" = IC card module installed (sys/LVIPAZ)
  std::string is_czysk;   // "1" = operator handles cards here ("CP")
  std::string is_com;     // the IC card reader's port, as text
  std::string is_hymk;    // "1" = operator may cancel without reading the card ("CQ")
  long ii_com = 0;        // the IC card reader's port number
  std::string is_azclu;   // "1" = membership club installed (sys/LCLUAZ)

  long ue_before_open() override;
  long open() override;
  long close() override;
  // The save (ue_cus(1)) is the cancellation: validation, the question,
  // the card write-back, ue_do_commit; after a committed cancellation
  // "取消结算成功！" and the window closes. 1 when it ran, 0 when refused or
  // stopped (否 included).
  long ue_save() override;
  // "确定将委托书 … 的结算状态由 结清 改为 未结 ？金额 797.33 元。"; none when
  // the status is unchanged (nothing is written).
  std::string wf_save_question() override;
  std::string wf_save_done() override;
  // The cancellation in one unit of work; 1 done or nothing to do, 0 failed
  // (rolled back, the step's message shown).
  virtual long ue_do_commit();

  // The request as entered, when it may be carried out; none when refused
  // (a message was shown).
  virtual std::optional<CancellationRequest> wf_vaid_check();
  // Valid member cards of the work order (0 when no card module is installed).
  virtual long wf_hysf();
  // Reads and checks the card; fills sle_1, em_1, em_2. 1 read, 0 refused.
  virtual long wf_hyk_read();
  // Writes the IC card back for the validated `request` when ai_bs is 1
  // (the points of a free work order stay). 1 go on, 0 stop.
  virtual long wf_card_exe(long ai_bs, const CancellationRequest& request);
  // Puts back onto the IC card what wf_card_exe wrote, when the cancellation
  // that followed was not committed (so that a second attempt does not take
  // the points off the card twice), and records the undoing on the card.
  // 1 put back or nothing to put back; 0 failed (a message was shown).
  virtual long wf_card_restore();

  // Refuses (2, a message shown) unticking 刷卡消费 of a card-paid
  // settlement by an operator without "CQ"; marks a change of it in cskxgbs.
  long dw_edit_itemchanged(long row, const std::string& dwo, const std::string& data) override;
  // False when 刷卡消费 of the card-paid settlement in `row` was unticked by
  // an operator without "CQ".
  bool wf_keeps_card_payment(long row) const;
  virtual long sle_1_modified();
  virtual long cb_2_clicked();

 private:
  // Ends a failed cancellation: sqlca rolled back. 0.
  long fail_commit();

  // What wf_card_exe wrote onto the IC card, until the cancellation is
  // committed or the card put back.
  struct CardWriteBack {
    std::string port, password, number;
    long points_before = 0, points_taken = 0;
    std::vector<std::string> service_before;
  };
  std::optional<CardWriteBack> card_written_;
  bool committed_ = false;  // ue_do_commit committed the cancellation
};

}  // namespace kq::svc
