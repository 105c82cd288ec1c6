// The dispatch list w_svc301 on the demo shop: the filter of 在修 through
// refresh, and when a double-click or Enter opens the repair-item window.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "dispatch_desk.h"
#include "framework/us_svc_xlxm.h"

namespace kq::svc {
namespace {

using testing::DispatchDesk;

std::set<std::string> statuses(svc::w_svc301& w) {
  std::set<std::string> out;
  for (long r = 1; r <= w.dw_1->rowcount(); ++r) out.insert(w.dw_1->getitemstring(r, "cwxzt").value_or("<null>"));
  return out;
}

bool contains(const std::vector<std::string>& v, const std::string& s) { return std::find(v.begin(), v.end(), s) != v.end(); }

TEST(DispatchList, InRepairOnOpeningOthersWhenUncheckedAndTheFilterSurvivesRefresh) {
  DispatchDesk desk;
  w_svc301& w = desk.list();
  EXPECT_EQ(w.title, "派工处理");
  EXPECT_TRUE(w.cbx_1.checked);
  EXPECT_EQ(w.cbx_1.text, "在修");
  EXPECT_TRUE(w.ib_refresh_enabled);
  EXPECT_EQ(w.dw_1.ois_outfilter, "cwxzt = '0'");
  EXPECT_EQ(statuses(w), std::set<std::string>{"0"});
  const std::string in_repair = desk.shop.committed(
      "select count(*) into :v from svcb20c where cgsh = '01' and cwxzt = '0' and lqqbs = 0");
  EXPECT_EQ(std::to_string(w.dw_1->rowcount()), in_repair);
  EXPECT_TRUE(contains(desk.listed(), "1010000000001"));
  EXPECT_FALSE(contains(desk.listed(), "1010000000004"));  // prior arrears: never offered
  EXPECT_EQ(w.dw_1->getselectedrow(0), w.dw_1->getrow());  // the current row is highlighted

  // Unchecked: settled and on credit, never those in repair nor with prior arrears.
  desk.send(w, {{"control", "cbx_1"}, {"event", "clicked"}, {"checked", false}});
  EXPECT_EQ(w.dw_1.ois_outfilter, "cwxzt <> '0'");
  EXPECT_EQ(statuses(w), (std::set<std::string>{"1", "2"}));
  EXPECT_FALSE(contains(desk.listed(), "1010000000001"));
  EXPECT_TRUE(contains(desk.listed(), "1010000000006"));
  EXPECT_FALSE(contains(desk.listed(), "1010000000004"));

  // Another workstation settles 1010000000002: a refresh lists it under the kept filter.
  desk.shop.session->sqlca.exec("update svcb20c set cwxzt = '1' where cwtsbh = '1010000000002' and cgsh = '01'");
  ASSERT_EQ(desk.shop.session->sqlca.commit(), 0);
  const long before = w.dw_1->rowcount();
  desk.send(w, {{"control", ""}, {"event", "ue_refresh"}});
  EXPECT_EQ(w.dw_1.ois_outfilter, "cwxzt <> '0'");
  EXPECT_EQ(statuses(w), (std::set<std::string>{"1", "2"}));
  EXPECT_EQ(w.dw_1->rowcount(), before + 1);
  EXPECT_TRUE(contains(desk.listed(), "1010000000002"));

  // Checked again: in repair only, without the one just settled.
  desk.send(w, {{"control", "cbx_1"}, {"event", "clicked"}, {"checked", true}});
  EXPECT_EQ(statuses(w), std::set<std::string>{"0"});
  EXPECT_FALSE(contains(desk.listed(), "1010000000002"));
  EXPECT_TRUE(desk.shop.ui.shown.empty());
}

TEST(DispatchList, DoubleClickAndEnterOpenTheRepairItemWindowInDispatchMode) {
  DispatchDesk desk;
  w_svc301& w = desk.list();
  fw::w_svc300_03* items = desk.dispatch("1010000000001");
  ASSERT_NE(items, nullptr);
  EXPECT_EQ(items->parent(), &w);
  EXPECT_EQ(items->is_type, "PG");
  EXPECT_EQ(items->ib_is_pg, true);
  EXPECT_EQ(items->ib_sh, false);
  EXPECT_EQ(items->is_wtsbh, "1010000000001");
  ui::close(*items);

  // Enter on another row: the same, for that row.
  w.dw_1->setrow(desk.row_of("1010000000002"));
  EXPECT_EQ(desk.send(w, {{"control", "dw_1"}, {"event", "ue_keydown"}, {"key", 13}})["result"], 1);
  ASSERT_NE(desk.items(), nullptr);
  EXPECT_EQ(desk.items()->is_wtsbh, "1010000000002");
  ui::close(*desk.items());

  // Other keys keep the list's own behaviour: down moves the row, nothing opens.
  const long row = w.dw_1->getrow();
  desk.send(w, {{"control", "dw_1"}, {"event", "ue_keydown"}, {"key", 40}});
  EXPECT_EQ(w.dw_1->getrow(), std::min(row + 1, w.dw_1->rowcount()));
  EXPECT_EQ(desk.items(), nullptr);
  EXPECT_TRUE(desk.shop.ui.shown.empty());
}

TEST(DispatchList, StopsSilentlyWithoutARowOrANumberAndWithItsMessageOtherwise) {
  DispatchDesk desk;
  w_svc301& w = desk.list();
  // A blank work-order number: nothing, no message.
  w.dw_1->setrow(desk.row_of("1010000000002"));
  w.dw_1->setitem(w.dw_1->getrow(), "cwtsbh", Value(std::string("   ")));
  EXPECT_EQ(w.wf_double_enter(), 0);
  w.dw_1->setitem(w.dw_1->getrow(), "cwtsbh", Value::null(Type::String));
  EXPECT_EQ(w.wf_double_enter(), 0);
  // An empty list: double-click and Enter do nothing.
  w.dw_1->setfilter("cwxzt = '9'");
  w.dw_1->filter();
  ASSERT_EQ(w.dw_1->rowcount(), 0);
  desk.send(w, {{"control", "dw_1"}, {"event", "doubleclicked"}, {"row", 0}, {"column", "cwtsbh"}});
  desk.send(w, {{"control", "dw_1"}, {"event", "ue_keydown"}, {"key", 13}});
  EXPECT_EQ(w.wf_double_enter(), 0);
  EXPECT_TRUE(desk.shop.ui.shown.empty());
  EXPECT_EQ(desk.items(), nullptr);

  // No repair items; then a failed count, shown before an open window is looked at.
  desk.send(w, {{"control", ""}, {"event", "ue_refresh"}});
  ASSERT_EQ(w.dw_1->rowcount(), std::stol(desk.shop.committed(
      "select count(*) into :v from svcb20c where cgsh = '01' and cwxzt = '0' and lqqbs = 0")));
  EXPECT_EQ(desk.dispatch("2010000000003"), nullptr);
  EXPECT_EQ(desk.shop.ui.texts(), std::vector<std::string>{"该委托书没有维修项目，无需部门派工!"});
  desk.shop.session->sqlca.faults().fail_matching("from svcb20d where cwtsbh", "injected failure");
  EXPECT_EQ(desk.dispatch("1010000000001"), nullptr);
  EXPECT_EQ(desk.shop.ui.texts().back(), "读取当前委托书工时项目失败!");
  EXPECT_FALSE(desk.shop.session->sqlca.faults().pending());
}

// The session's repair-item window, open in one mode or another, blocks a
// dispatch; its mode decides the message.
TEST(DispatchList, AnOpenRepairItemWindowIsNeverOpenedTwice) {
  struct Case {
    const char* name;
    Str type;
    std::optional<bool> pg, sh;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"dispatch", "PG", true, false, {"请先关闭其它界面的【增加维修项目】！"}},
      {"audit", "SH", false, true, {"请先关闭其它界面的【增加维修项目】！"}},
      {"general, not dispatching", "ZH", false, false, {"此委托书正在进厂处理增加维修项目！"}},
      {"general, from audit", "ZH", true, true, {"此委托书正在完工审核增加维修项目！"}},
      {"general, dispatching", "ZH", true, false, {}},
      {"no mode", std::nullopt, std::nullopt, std::nullopt, {}},
      {"no mode, not dispatching", std::nullopt, false, std::nullopt, {"此委托书正在进厂处理增加维修项目！"}},
  };
  for (const Case& c : cases) {
    DispatchDesk desk;
    fw::us_svc_xlxm parm;
    parm.cwtsbh = "1010000000031";
    auto* open = dynamic_cast<fw::w_svc300_03*>(desk.shop.windows->open("w_svc300_03", ui::Message::of_object(parm)));
    ASSERT_NE(open, nullptr);
    open->is_type = c.type;
    open->ib_is_pg = c.pg;
    open->ib_sh = c.sh;
    desk.list().dw_1->setrow(desk.row_of("1010000000001"));
    EXPECT_EQ(desk.list().wf_double_enter(), 0) << c.name;
    EXPECT_EQ(desk.shop.ui.texts(), c.messages) << c.name;
    EXPECT_EQ(desk.items(), open) << c.name;
    EXPECT_EQ(open->is_wtsbh, "1010000000031") << c.name;  // not handed the new work order
  }

  // Per session: another workstation dispatches while this one has the window open.
  DispatchDesk desk;
  ASSERT_NE(desk.dispatch("1010000000001"), nullptr);
  auto other = desk.shop.open_session();
  ui::ScriptedUi other_ui;
  other->ui = &other_ui;
  ui::WindowManager other_windows(desk.shop.registry);
  fw::SessionScope scope(*other);
  auto* list = dynamic_cast<w_svc301*>(other_windows.open("w_svc301"));
  ASSERT_NE(list, nullptr);
  for (long r = 1; r <= list->dw_1->rowcount(); ++r)
    if (list->dw_1->getitemstring(r, "cwtsbh") == "1010000000002") list->dw_1->setrow(r);
  EXPECT_EQ(list->wf_double_enter(), 1);
  EXPECT_TRUE(other_ui.shown.empty());
  auto* theirs = dynamic_cast<fw::w_svc300_03*>(other_windows.find("w_svc300_03"));
  ASSERT_NE(theirs, nullptr);
  EXPECT_EQ(theirs->is_wtsbh, "1010000000002");
  other_windows.close_all();
}

}  // namespace
}  // namespace kq::svc
