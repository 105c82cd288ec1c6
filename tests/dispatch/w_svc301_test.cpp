// The dispatch list w_svc301 on the demo shop: the filter of 在修 through
// refresh, and when a double-click or Enter opens the repair-item window.
#include <gtest/gtest.h>

#include <set>

#include "dispatch_desk.h"
#include "framework/us_svc_xlxm.h"

namespace kq::svc {
namespace {

using testing::DispatchDesk;

std::set<std::string> column(w_svc301& w, const char* name) {
  std::set<std::string> out;
  for (long r = 1; r <= w.dw_1->rowcount(); ++r) out.insert(w.dw_1->getitemstring(r, name).value_or("<null>"));
  return out;
}

TEST(DispatchList, InRepairOnOpeningOthersWhenUncheckedAndTheFilterSurvivesRefresh) {
  DispatchDesk desk;
  w_svc301& w = desk.list();
  EXPECT_TRUE(w.cbx_1.checked);
  EXPECT_EQ(w.dw_1.ois_outfilter, "cwxzt = '0'");
  EXPECT_EQ(column(w, "cwxzt"), std::set<std::string>{"0"});
  EXPECT_EQ(std::to_string(w.dw_1->rowcount()),
            desk.shop.committed("select count(*) into :v from svcb20c where cgsh = '01' and cwxzt = '0' and lqqbs = 0"));
  EXPECT_FALSE(column(w, "cwtsbh").count("1010000000004"));  // prior arrears: never offered

  desk.send(w, {.control = "cbx_1", .event = "clicked", .checked = false});
  EXPECT_EQ(w.dw_1.ois_outfilter, "cwxzt <> '0'");
  EXPECT_EQ(column(w, "cwxzt"), (std::set<std::string>{"1", "2"}));

  // Another workstation settles 1010000000002: a refresh lists it under the kept filter.
  desk.shop.session->sqlca.exec("update svcb20c set cwxzt = '1' where cwtsbh = '1010000000002' and cgsh = '01'");
  ASSERT_EQ(desk.shop.session->sqlca.commit(), 0);
  desk.send(w, {.control = "", .event = "ue_refresh"});
  EXPECT_EQ(column(w, "cwxzt"), (std::set<std::string>{"1", "2"}));
  EXPECT_TRUE(column(w, "cwtsbh").count("1010000000002"));

  desk.send(w, {.control = "cbx_1", .event = "clicked", .checked = true});
  EXPECT_EQ(column(w, "cwxzt"), std::set<std::string>{"0"});
  EXPECT_TRUE(desk.shop.ui.shown.empty());
}

TEST(DispatchList, DoubleClickAndEnterOpenTheItemsOrStopInTheirOrder) {
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

  // Enter does the same; other keys keep the list's own behaviour.
  w.dw_1->setrow(desk.row_of("1010000000002"));
  EXPECT_EQ(desk.send(w, {.control = "dw_1", .event = "ue_keydown", .key = 13}).result, 1);
  ASSERT_NE(desk.items(), nullptr);
  EXPECT_EQ(desk.items()->is_wtsbh, "1010000000002");
  ui::close(*desk.items());
  const long row = w.dw_1->getrow();
  desk.send(w, {.control = "dw_1", .event = "ue_keydown", .key = 40});
  EXPECT_EQ(w.dw_1->getrow(), row + 1);
  EXPECT_EQ(desk.items(), nullptr);

  // A blank or null number, an empty list: nothing, no message.
  for (Value blank : {Value(std::string("   ")), Value::null(Type::String)}) {
    w.dw_1->setitem(w.dw_1->getrow(), "cwtsbh", blank);
    EXPECT_EQ(w.wf_double_enter(), 0);
  }
  w.dw_1->setfilter("cwxzt = '9'");
  w.dw_1->filter();
  desk.send(w, {.control = "dw_1", .event = "ue_keydown", .key = 13});
  EXPECT_EQ(w.wf_double_enter(), 0);
  EXPECT_TRUE(desk.shop.ui.shown.empty());
  EXPECT_EQ(desk.items(), nullptr);

  // No repair items; a failed count.
  desk.send(w, {.control = "", .event = "ue_refresh"});
  EXPECT_EQ(desk.dispatch("2010000000003"), nullptr);
  desk.shop.session->sqlca.faults().fail_matching("from svcb20d where cwtsbh", "injected failure");
  EXPECT_EQ(desk.dispatch("1010000000001"), nullptr);
  EXPECT_EQ(desk.shop.ui.texts(),
            (std::vector<std::string>{"该委托书没有维修项目，无需部门派工!", "读取当前委托书工时项目失败!"}));
}

// The session's repair-item window, open in one mode or another, blocks a
// dispatch; its mode decides the message.
TEST(DispatchList, AnOpenRepairItemWindowIsNeverOpenedTwiceInOneSession) {
  struct Case {
    Str type;
    std::optional<bool> pg, sh;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"PG", true, false, {"请先关闭其它界面的【增加维修项目】！"}},
      {"SH", false, true, {"请先关闭其它界面的【增加维修项目】！"}},
      {"ZH", false, false, {"此委托书正在进厂处理增加维修项目！"}},
      {"ZH", true, true, {"此委托书正在完工审核增加维修项目！"}},
      {"ZH", true, false, {}},
      {std::nullopt, std::nullopt, std::nullopt, {}},
      {std::nullopt, false, std::nullopt, {"此委托书正在进厂处理增加维修项目！"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type.value_or("<null>") + " " + (c.pg ? std::to_string(*c.pg) : "-") + " " +
                 (c.sh ? std::to_string(*c.sh) : "-"));
    DispatchDesk desk;
    fw::us_svc_xlxm parm;
    parm.cwtsbh = "1010000000031";
    auto* open = dynamic_cast<fw::w_svc300_03*>(desk.shop.windows->open("w_svc300_03", ui::Message::of_object(parm)));
    ASSERT_NE(open, nullptr);
    open->is_type = c.type;
    open->ib_is_pg = c.pg;
    open->ib_sh = c.sh;
    desk.list().dw_1->setrow(desk.row_of("1010000000001"));
    EXPECT_EQ(desk.list().wf_double_enter(), 0);
    EXPECT_EQ(desk.shop.ui.texts(), c.messages);
    EXPECT_EQ(desk.items(), open);
    EXPECT_EQ(open->is_wtsbh, "1010000000031");
  }

  // Another workstation dispatches while this one has the window open.
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
  EXPECT_NE(other_windows.find("w_svc300_03"), nullptr);
  other_windows.close_all();
}

}  // namespace
}  // namespace kq::svc
