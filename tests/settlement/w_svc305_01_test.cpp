// The cancellation window w_svc305_01: opening, the card-payment flag, and
// the validation of a cancellation request with each of its refusals.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "platform/ui/window_state.h"
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

// The captions a person reads in `w`: its visible static texts and group
// boxes, and the labels of the form data windows it shows (texts and check
// boxes), each with where it stands.
std::multimap<std::string, std::string> captions(const ui::Window& w) {
  std::multimap<std::string, std::string> out;
  for (const auto& c : w.controls()) {
    if (!c->visible) continue;
    if (c->kind() == ui::ControlKind::StaticText || c->kind() == ui::ControlKind::GroupBox) out.emplace(c->text, c->name());
    auto* dw = dynamic_cast<const ui::DataWindowControl*>(c.get());
    if (!dw || !(*dw)->has_definition() || (*dw)->definition().style != dw::Definition::Style::Form) continue;
    for (const dw::RowDef& row : (*dw)->definition().detail.rows) {
      for (const dw::ObjectDef& o : row.objects) {
        if (o.visible == "0") continue;
        if (o.kind == dw::ObjectDef::Kind::Text && !o.text.empty()) out.emplace(o.text, c->name() + "." + o.name);
        if (o.edit == dw::EditStyle::CheckBox) out.emplace(o.checkbox_text, c->name() + "." + o.name);
      }
    }
  }
  return out;
}

TEST(CancellationWindow, EachCaptionOnceNoEmptyGroupBoxAndTheChangeFlagReadOnly) {
  CancellationDesk desk;
  w_svc305_01* w = desk.open("1010000000006");
  ASSERT_NE(w, nullptr);
  for (const ui::Window* window : {static_cast<const ui::Window*>(&desk.list()), static_cast<const ui::Window*>(w)}) {
    auto shown = captions(*window);
    for (auto it = shown.begin(); it != shown.end(); it = shown.upper_bound(it->first)) {
      EXPECT_FALSE(it->first.empty()) << window->classname() << ": " << it->second << " has no caption";
      if (shown.count(it->first) < 2) continue;
      std::string where;
      for (auto [a, b] = shown.equal_range(it->first); a != b; ++a) where += " " + a->second;
      ADD_FAILURE() << window->classname() << ": \"" << it->first << "\" labels" << where;
    }
  }
  const dw::DataWindow& edit = *w->dw_edit.operator->();
  for (const auto& [column, editable] : std::vector<std::pair<std::string, bool>>{{"cwxzt", true}, {"cskxf", true}, {"cskxgbs", false}}) {
    const dw::ObjectDef* o = edit.definition().find_object(column);
    ASSERT_NE(o, nullptr) << column;
    EXPECT_EQ(edit.is_protected(*o, 1), !editable) << column << (editable ? " must be editable" : " must be read only");
  }
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
  EXPECT_EQ(again.told(), Texts{"取消结算成功！"});
}

TEST(CancellationValidation, NoCardNumberNoCardCheck) {
  CancellationDesk desk;
  EXPECT_EQ(desk.cancel("1010000000030", "0", "重新结算", ""), 1);
  EXPECT_EQ(desk.told(), Texts{"取消结算成功！"});
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

// An event as the browser sends it to window `w`; the server's answer.
ui::DispatchResult send(CancellationDesk& desk, w_svc305_01& w, ui::EventRequest event) {
  event.window = w.id();
  return ui::dispatch_event(*desk.shop.windows, event);
}

// The state of control `name` as the browser is to draw it.
ui::ControlState control_state(w_svc305_01& w, const std::string& name) {
  for (const ui::ControlState& c : ui::window_state(w).controls)
    if (c.name == name) return c;
  ADD_FAILURE() << "no control " << name;
  return {};
}

TEST(CancellationWindow, WithoutCqTheCardNumberComesFromTheReaderOnly) {
  CancellationDesk desk({"CJ", "CP"});
  std::ofstream(desk.shop.dir() / "pb.ini") << "[database]\nickcom=/dev/kq-no-such-reader\n";
  w_svc305_01* w = desk.open("1010000000006");  // paid by card 8801000001
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(control_state(*w, "sle_1").displayonly);

  // Typed into the card number: refused, nothing taken.
  ui::DispatchResult typed = send(desk, *w, {.control = "sle_1", .event = "modified", .text = "8801000001"});
  EXPECT_FALSE(typed.ok) << "typed into the card number";
  EXPECT_EQ(w->sle_1.text, "");

  // A read that fails leaves no number, so the save is refused.
  CancellationDesk::enter(*w, "0", "客户要求重新结算", "8801000001");
  EXPECT_EQ(w->cb_2_clicked(), 0);
  EXPECT_EQ(w->sle_1.text, "");
  desk.shop.ui.shown.clear();
  EXPECT_EQ(w->ue_cus(1), 0);
  EXPECT_EQ(desk.shop.ui.texts(), Texts{"当前会员卡号与结算会员卡号不一致，请核实。\n结算卡号：8801000001"});

  // 刷卡消费 of the card settlement cannot be unticked: not in the window,
  // and not by a row changed any other way.
  desk.shop.ui.shown.clear();
  send(desk, *w, {.control = "dw_edit", .event = "itemchanged", .row = 1, .column = "cskxf", .data = "0"});
  EXPECT_EQ(w->dw_edit->getitemstring(1, "cskxf"), "1");
  EXPECT_EQ(w->dw_edit->getitemstring(1, "cskxgbs"), "0");
  w->dw_edit->setitem(1, "cskxf", "0");
  w->dw_edit->setitem(1, "chykh", "");  // and no card number left to check
  EXPECT_FALSE(w->wf_vaid_check().has_value());
  const Texts refused(2, "您没有取消“刷卡消费”的权限，请读取会员卡后再取消结算！");
  EXPECT_EQ(desk.shop.ui.texts(), refused);
  EXPECT_EQ(desk.text("select cwxzt || cskxf into :v from svcb20c where cwtsbh = '1010000000006'"), "11");

  // With CQ the field takes typing and the flag may be unticked.
  CancellationDesk cq;
  w_svc305_01* with_cq = cq.open("1010000000006");
  ASSERT_NE(with_cq, nullptr);
  EXPECT_FALSE(control_state(*with_cq, "sle_1").displayonly);
  const ui::DispatchResult typed_with_cq =
      send(cq, *with_cq, {.control = "sle_1", .event = "getfocus", .text = "8801000001"});
  EXPECT_TRUE(typed_with_cq.ok) << typed_with_cq.error;
  EXPECT_EQ(with_cq->sle_1.text, "8801000001");
  send(cq, *with_cq, {.control = "dw_edit", .event = "itemchanged", .row = 1, .column = "cskxf", .data = "0"});
  EXPECT_EQ(with_cq->dw_edit->getitemstring(1, "cskxf"), "0");
  EXPECT_EQ(with_cq->dw_edit->getitemstring(1, "cskxgbs"), "1");
  EXPECT_TRUE(cq.shop.ui.texts().empty()) << ::testing::PrintToString(cq.shop.ui.texts());
}

// Typed text is held to the length of the column it is written to: the
// reason to svcb61.cbz, the status to its char(1).
TEST(CancellationWindow, TypedTextIsHeldToItsColumnsLength) {
  CancellationDesk desk;
  const std::string cbz_type = desk.text("select type into :v from pragma_table_info('svcb61') where name = 'cbz'");
  ASSERT_EQ(cbz_type, "VARCHAR(255)");
  w_svc305_01* w = desk.open("1010000000005");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(control_state(*w, "mle_1").limit, 255);

  std::string longest;
  for (int i = 0; i < 255; ++i) longest += "因";
  ui::DispatchResult fits = send(desk, *w, {.control = "mle_1", .event = "getfocus", .text = longest});
  EXPECT_TRUE(fits.ok) << fits.error;
  ui::DispatchResult over = send(desk, *w, {.control = "mle_1", .event = "getfocus", .text = longest + "x"});
  EXPECT_FALSE(over.ok);
  EXPECT_EQ(over.error, "原因说明最多 255 个字符");
  EXPECT_EQ(w->mle_1.text, longest);

  ui::DispatchResult status =
      send(desk, *w, {.control = "dw_edit", .event = "itemchanged", .row = 1, .column = "cwxzt", .data = "00"});
  EXPECT_EQ(status.error, "输入内容最多 1 个字符");
  EXPECT_EQ(w->dw_edit->getitemstring(1, "cwxzt"), "1");

  // A reason that reached the window some other way is refused by the save.
  CancellationDesk::enter(*w, "0", std::string(35000, 'x'), "");
  const std::string before = dump_database(desk.shop.db_path());
  EXPECT_EQ(w->ue_cus(1), 0);
  EXPECT_EQ(desk.shop.ui.texts(), Texts{"原因说明最多 255 个字符"});
  EXPECT_EQ(dump_database(desk.shop.db_path()), before);
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
