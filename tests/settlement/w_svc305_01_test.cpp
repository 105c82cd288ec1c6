// The cancellation window w_svc305_01: opening, the card-payment flag, and
// the validation of a cancellation request with each of its refusals.
#include <gtest/gtest.h>

#include "settlement/cancellation_desk.h"
#include "support/database_dump.h"

namespace kq::svc {
namespace {

using testing::CancellationDesk;
using kq::testing::dump_database;

TEST(CancellationWindow, OpensOnTheChosenWorkOrderWithTheDesksSwitches) {
  CancellationDesk desk;
  w_svc305_01* w = desk.open("1010000000006");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->title, "取消结算");
  EXPECT_EQ(w->is_wtsbh, "1010000000006");
  EXPECT_EQ(w->dw_edit->getitemstring(1, "chykh"), "8801000001");
  // Company 01: club installed, no IC card module; the operator handles cards.
  EXPECT_EQ(w->is_azhyk, "0");
  EXPECT_EQ(w->is_azclu, "1");
  EXPECT_EQ(w->is_czysk, "1");
  EXPECT_EQ(w->is_hymk, "1");
  EXPECT_TRUE(w->cb_2.visible);
  EXPECT_EQ(w->cb_2.text, "读 卡");
  EXPECT_EQ(w->st_1.text, "*取消结算，请输入原因说明：");
  EXPECT_FALSE(w->em_1.enabled);
  EXPECT_FALSE(w->em_2.enabled);
  EXPECT_FALSE(w->dw_jsd.visible);
  EXPECT_FALSE(w->ib_opencom);
  EXPECT_TRUE(desk.shop.ui.shown.empty());
}

TEST(CancellationWindow, NoCardButtonForAnOperatorWithoutCardHandling) {
  CancellationDesk desk({"CJ"});
  w_svc305_01* w = desk.open("1010000000006");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->is_czysk, "0");
  EXPECT_EQ(w->is_hymk, "0");
  EXPECT_FALSE(w->cb_2.visible);
}

TEST(CancellationWindow, ChangingTheCardPaymentFlagIsMarked) {
  CancellationDesk desk;
  w_svc305_01* w = desk.open("1010000000006");
  ASSERT_NE(w, nullptr);
  w->dw_edit_itemchanged(1, "cskxf", "0");
  EXPECT_EQ(w->dw_edit->getitemstring(1, "cskxgbs"), "1");
  w->dw_edit_itemchanged(1, "cskxf", "1");
  EXPECT_EQ(w->dw_edit->getitemstring(1, "cskxgbs"), "0");
  w->dw_edit_itemchanged(1, "cwxzt", "0");
  EXPECT_EQ(w->dw_edit->getitemstring(1, "cskxgbs"), "0");
}

// One request through the save command; the messages shown.
std::vector<std::string> refusal(CancellationDesk& desk, const std::string& bh, const std::string& status,
                                 const std::string& reason, const std::string& card) {
  w_svc305_01* w = desk.open(bh);
  if (!w) return {"<not opened>"};
  CancellationDesk::enter(*w, status, reason, card);
  const std::string before = dump_database(desk.shop.db_path());
  EXPECT_EQ(w->ue_cus(1), 0) << bh;
  EXPECT_EQ(dump_database(desk.shop.db_path()), before) << bh;
  EXPECT_TRUE(desk.shop.ui.progress_shown.empty()) << bh;
  return desk.shop.ui.texts();
}

using Texts = std::vector<std::string>;

TEST(CancellationValidation, ReasonIsRequired) {
  CancellationDesk desk;
  EXPECT_EQ(refusal(desk, "1010000000005", "0", "   \n ", ""), Texts{"请输入委托书取消结算的“原因说明”！"});
  EXPECT_EQ(desk.shop.windows->find("w_svc305_01")->focus(), "mle_1");
}

TEST(CancellationValidation, SettledInFullCannotGoOnAccount) {
  CancellationDesk desk;
  EXPECT_EQ(refusal(desk, "1010000000005", "2", "改欠账", ""), Texts{"已结清的委托书不能改到欠账状态！"});
}

TEST(CancellationValidation, OnAccountCannotBecomeSettledInFull) {
  CancellationDesk desk;
  EXPECT_EQ(refusal(desk, "2010000000008", "1", "改结清", ""), Texts{"欠账的委托书不能改到结清状态！"});
}

TEST(CancellationValidation, TheCardOfTheSettlementMustBeRead) {
  CancellationDesk desk;
  EXPECT_EQ(refusal(desk, "1010000000006", "0", "重新结算", ""),
            Texts{"当前会员卡号与结算会员卡号不一致，请核实。\n结算卡号：8801000001"});
}

TEST(CancellationValidation, AnotherCardIsRefused) {
  CancellationDesk desk;
  EXPECT_EQ(refusal(desk, "1010000000006", "0", "重新结算", "8801000003"),
            Texts{"当前会员卡号与结算会员卡号不一致，请核实。\n结算卡号：8801000001"});
}

TEST(CancellationValidation, ACardNumberOnRecordIsCheckedEvenWithoutCardPayment) {
  CancellationDesk desk;
  EXPECT_EQ(refusal(desk, "1010000000027", "0", "重新结算", ""),
            Texts{"当前会员卡号与结算会员卡号不一致，请核实。\n结算卡号：8801000003"});
  CancellationDesk again;
  EXPECT_EQ(again.cancel("1010000000027", "0", "重新结算", "8801000003"), 1);
  EXPECT_TRUE(again.shop.ui.texts().empty());
}

TEST(CancellationValidation, NoCardNumberNoCardCheck) {
  CancellationDesk desk;
  EXPECT_EQ(desk.cancel("1010000000030", "0", "重新结算", ""), 1);
  EXPECT_TRUE(desk.shop.ui.texts().empty());
  EXPECT_EQ(desk.text("select cwxzt into :v from svcb20c where cwtsbh = '1010000000030'"), "0");
}

TEST(CancellationValidation, CardPaidWithoutACardNumberAsksForTheCard) {
  CancellationDesk desk;
  w_svc305_01* w = desk.open("1010000000006");
  ASSERT_NE(w, nullptr);
  w->dw_edit->setitem(1, "chykh", "  ");
  CancellationDesk::enter(*w, "0", "重新结算", "");
  EXPECT_FALSE(w->wf_vaid_check().has_value());
  EXPECT_EQ(desk.shop.ui.texts(), Texts{"请先读取会员卡信息。"});
}

TEST(CancellationValidation, AnUnreadableFreeFlagRefuses) {
  CancellationDesk desk;
  w_svc305_01* w = desk.open("1010000000005");
  ASSERT_NE(w, nullptr);
  CancellationDesk::enter(*w, "0", "重新结算", "");
  desk.shop.session->sqlca.faults().fail_matching("select lmfbs", "injected failure");
  EXPECT_FALSE(w->wf_vaid_check().has_value());
  EXPECT_EQ(desk.shop.ui.texts(), Texts{"读取当前委托书的免费标识失败!"});
}

TEST(CancellationValidation, FreeFlagOfTheCategory) {
  CancellationDesk desk;
  w_svc305_01* w = desk.open("0010000000010");
  ASSERT_NE(w, nullptr);
  CancellationDesk::enter(*w, "0", "重新结算", "");
  std::optional<CancellationRequest> r = w->wf_vaid_check();
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->ii_mfbs, 1);
  EXPECT_EQ(r->is_wtslb, "0");
  EXPECT_EQ(r->is_wtsbh, "0010000000010");
  EXPECT_EQ(r->is_ywxzt, "1");
  EXPECT_EQ(r->is_wxzt, "0");
  EXPECT_EQ(r->ls_yysm, "重新结算");
  ui::close(*w);
  // A category missing from svcc90 counts as not free.
  w = desk.open("X010000000023");
  ASSERT_NE(w, nullptr);
  CancellationDesk::enter(*w, "0", "重新结算", "");
  r = w->wf_vaid_check();
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->ii_mfbs, 0);
}

TEST(CancellationWindow, OtherCommandsDoNothing) {
  CancellationDesk desk;
  w_svc305_01* w = desk.open("1010000000005");
  ASSERT_NE(w, nullptr);
  CancellationDesk::enter(*w, "0", "重新结算", "");
  EXPECT_EQ(w->ue_cus(2), 1);
  EXPECT_EQ(desk.text("select cwxzt into :v from svcb20c where cwtsbh = '1010000000005'"), "1");
  EXPECT_TRUE(desk.shop.ui.texts().empty());
}

}  // namespace
}  // namespace kq::svc
